#pragma once
// Over the session's file-size limit (ulimit -f) a write raises SIGXFSZ, which
// ends a program silently. Caught, the write fails instead and the program can
// say why.
#include <string>

namespace plat {

// From now on going over the limit only fails the write and is noted.
void CatchFileSizeLimit();

// True once a write went over the limit.
bool FileSizeLimitReached();

// "Files may not grow beyond N bytes here (the file-size limit, ulimit -f)."
std::string FileSizeLimitText();

} // namespace plat
