#pragma once
// Lets core loops (opening a file, sorting, computing islands) put up the
// shared wait dialog without knowing its toolkit. The window side installs
// the two handlers; until then they do nothing.
#include <functional>
#include <string>

namespace WaitHooks {

struct Handlers {
    // message such as "Reading.  Please Wait...", show at once, with a Cancel button
    std::function<void(const std::string& message, bool showNow, bool withCancel)> show;
    std::function<void()> hide;
};

Handlers& handlers();
// Back to the do-nothing handlers.
void reset();

void ShowWait(const std::string& message, bool showNow = false, bool withCancel = false);
void HideWait();

// One ShowWait for the lifetime of the scope, so an exception cannot leave
// the dialog up.
class WaitScope {
public:
    explicit WaitScope(const std::string& message, bool showNow = false, bool withCancel = false) {
        ShowWait(message, showNow, withCancel);
    }
    ~WaitScope() { HideWait(); }
    WaitScope(const WaitScope&) = delete;
    WaitScope& operator=(const WaitScope&) = delete;
};

} // namespace WaitHooks
