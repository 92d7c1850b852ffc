# Writes the ctest list of a Qt test program from the classes it registers
# ("PROGRAM --list"), so that no class can be left out of the test run.
# cmake -D PROGRAM=... -D PREFIX=... -D SUPPRESSIONS=... -D OUT=... -P qt_test_list.cmake
execute_process(COMMAND "${CMAKE_COMMAND}" -E env QT_QPA_PLATFORM=offscreen
                        "LSAN_OPTIONS=suppressions=${SUPPRESSIONS}" "${PROGRAM}" --list
                OUTPUT_VARIABLE classes RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --list failed (${status})")
endif()
string(REPLACE "\n" ";" classes "${classes}")
set(text "")
foreach(class IN LISTS classes)
  if(class STREQUAL "")
    continue()
  endif()
  if(NOT class MATCHES "^[A-Za-z0-9_]+$")
    message(FATAL_ERROR "${PROGRAM}: test class name \"${class}\" is not a plain word")
  endif()
  string(APPEND text "add_test([=[${PREFIX}.${class}]=] \"${PROGRAM}\" ${class})\n"
    "set_tests_properties([=[${PREFIX}.${class}]=] PROPERTIES TIMEOUT 300 ENVIRONMENT "
    "\"SE_EPHE_PATH=;QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${SUPPRESSIONS}\")\n")
endforeach()
file(WRITE "${OUT}" "${text}")
