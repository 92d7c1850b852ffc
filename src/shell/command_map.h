#pragma once
// The handlers of the main menu's commands. A command without a handler is shown
// disabled: its feature is not part of the program yet.
#include <functional>
#include <map>

namespace orbeta {

class CommandMap {
  public:
    using Handler = std::function<void()>;
    void Set(int id, Handler handler) { handlers_[id] = std::move(handler); }
    bool Has(int id) const { return handlers_.count(id) != 0; }
    // Runs the handler of a command; false when it has none.
    bool Run(int id) const;

  private:
    std::map<int, Handler> handlers_;
};

}  // namespace orbeta
