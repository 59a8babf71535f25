#include "platform/Hooks.h"

#include <atomic>
#include <chrono>
#include <ctime>

namespace plat {
namespace {

Hooks makeDefaults() {
    Hooks h;
    h.messageBox = [](const std::string&, const std::string&, unsigned flags) {
        return (flags & MB_YESNO) ? int(IDNO) : int(IDOK);
    };
    h.showMessage = [](const std::string&) {};
    h.processMessages = [] {};
    h.setBusyCursor = [](bool) {};
    h.setClipboardText = [](const std::string&) {};
    h.shellOpen = [](const std::string&, const std::function<void()>& failed) {
        if (failed) failed();
    };
    // Without a display: a fixed advance per character keeps layout code deterministic.
    h.textWidth = [](const std::string& text, const void*) { return int(text.size()) * 6; };
    h.screenDpi = [] { return 96; };
    h.now = [] {
        using namespace std::chrono;
        const auto tp = system_clock::now();
        const std::time_t t = system_clock::to_time_t(tp);
        std::tm tm{};
        localtime_r(&t, &tm);
        CalendarTime c;
        c.year = tm.tm_year + 1900;
        c.month = tm.tm_mon + 1;
        c.day = tm.tm_mday;
        c.hour = tm.tm_hour;
        c.minute = tm.tm_min;
        c.second = tm.tm_sec;
        c.msec = int(duration_cast<milliseconds>(tp.time_since_epoch()).count() % 1000);
        return c;
    };
    return h;
}

Hooks& storage() {
    static Hooks h = makeDefaults();
    return h;
}

// Lock-free: a signal handler sets it, and the unpacking threads read it.
std::atomic<bool> g_cancel{false};
static_assert(std::atomic<bool>::is_always_lock_free);

} // namespace

Hooks& hooks() { return storage(); }
void resetHooks() { storage() = makeDefaults(); }

int messageBox(const std::string& text, const std::string& caption, unsigned flags) {
    auto& h = hooks();
    return h.messageBox ? h.messageBox(text, caption, flags) : int(IDOK);
}
void showMessage(const std::string& text) {
    if (hooks().showMessage) hooks().showMessage(text);
}
void processMessages() {
    if (hooks().processMessages) hooks().processMessages();
}
void setBusyCursor(bool busy) {
    if (hooks().setBusyCursor) hooks().setBusyCursor(busy);
}
CalendarTime now() { return hooks().now ? hooks().now() : makeDefaults().now(); }

std::uint64_t tickCount() {
    using namespace std::chrono;
    return std::uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool cancelRequested() { return g_cancel; }
void setCancelRequested(bool value) { g_cancel = value; }

} // namespace plat
