#include "model/WaitHooks.h"

namespace WaitHooks {

Handlers& handlers() {
    static Handlers s;
    return s;
}

void reset() { handlers() = Handlers{}; }

void ShowWait(const std::string& message, bool showNow, bool withCancel) {
    if (handlers().show) handlers().show(message, showNow, withCancel);
}

void HideWait() {
    if (handlers().hide) handlers().hide();
}

} // namespace WaitHooks
