#include "platform/FileSizeLimit.h"

#include <signal.h>
#include <sys/resource.h>

namespace plat {
namespace {

volatile sig_atomic_t g_reached = 0;

void onFileSizeLimit(int) { g_reached = 1; }

} // namespace

void CatchFileSizeLimit() {
    struct sigaction sa {};
    sa.sa_handler = onFileSizeLimit;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGXFSZ, &sa, nullptr);
}

bool FileSizeLimitReached() { return g_reached != 0; }

std::string FileSizeLimitText() {
    struct rlimit lim {};
    std::string bytes = "a few";
    if (::getrlimit(RLIMIT_FSIZE, &lim) == 0 && lim.rlim_cur != RLIM_INFINITY) bytes = std::to_string(lim.rlim_cur);
    return "Files may not grow beyond " + bytes + " bytes here (the file-size limit, ulimit -f).";
}

} // namespace plat
