# The workspace: a complete working directory assembled from data/ by the build.
# Sources are UTF-8; files of the OEM tradition are written in CP866.
set(ORBETA_WORKSPACE_TEMPLATE "${CMAKE_BINARY_DIR}/workspace")
file(MAKE_DIRECTORY "${ORBETA_WORKSPACE_TEMPLATE}")
set_property(GLOBAL PROPERTY ORBETA_WORKSPACE_FILES "")

# orbeta_workspace_file(<source under data/> [DEST name] [ENCODING CP866|CP1251])
function(orbeta_workspace_file src)
  cmake_parse_arguments(ARG "" "DEST;ENCODING" "" ${ARGN})
  get_filename_component(name "${src}" NAME)
  if(ARG_DEST)
    set(name "${ARG_DEST}")
  endif()
  set(in "${PROJECT_SOURCE_DIR}/data/${src}")
  set(out "${ORBETA_WORKSPACE_TEMPLATE}/${name}")
  if(ARG_ENCODING)
    add_custom_command(OUTPUT "${out}"
      COMMAND orbeta-encode ${ARG_ENCODING} "${in}" "${out}"
      DEPENDS "${in}" orbeta-encode
      COMMENT "workspace: ${name} (${ARG_ENCODING})")
  else()
    add_custom_command(OUTPUT "${out}"
      COMMAND ${CMAKE_COMMAND} -E copy "${in}" "${out}"
      DEPENDS "${in}"
      COMMENT "workspace: ${name}")
  endif()
  set_property(GLOBAL APPEND PROPERTY ORBETA_WORKSPACE_FILES "${out}")
endfunction()
