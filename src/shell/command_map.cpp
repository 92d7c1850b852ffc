#include "shell/command_map.h"

namespace orbeta {

bool CommandMap::Run(int id) const {
    auto it = handlers_.find(id);
    if (it == handlers_.end()) return false;
    Handler handler = it->second;  // a handler may change the map
    handler();
    return true;
}

}  // namespace orbeta
