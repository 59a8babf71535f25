#include "app/PackedFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "app/LinkText.h"
#include "platform/CodePage.h"
#include "platform/FileSizeLimit.h"
#include "platform/TempFiles.h"

namespace {

bool ordinaryNameChar(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
    if (c == ' ' || c == '-' || c == '_' || c == '.' || c == '(' || c == ')') return true;
    // Accented letters of code page 1252, but not its multiplication and division signs.
    return c >= 0xC0 && c != 0xD7 && c != 0xF7;
}

enum class CopyResult { Done, Cancelled, Failed };

// The copy through a fresh exclusive name and a rename; error keeps the
// errno of a failure.
CopyResult copyToNewFile(const std::string& source, const std::string& target, const std::function<bool()>& cancelled,
                         int& error) {
    error = 0;
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        error = errno;
        return CopyResult::Failed;
    }
    std::string part = target + "-XXXXXX.part";
    const int out = plat::createUniqueFile(part, 5);
    if (out < 0) {
        error = errno;
        ::close(in);
        return CopyResult::Failed;
    }
    CopyResult result = CopyResult::Done;
    std::vector<char> buf(1 << 20);
    while (result == CopyResult::Done) {
        const ssize_t n = ::read(in, buf.data(), buf.size());
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) break;
        if (n < 0) {
            error = errno;
            result = CopyResult::Failed;
            break;
        }
        for (ssize_t done = 0; result == CopyResult::Done && done < n;) {
            const ssize_t w = ::write(out, buf.data() + done, std::size_t(n - done));
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) {
                error = w < 0 ? errno : ENOSPC;
                result = CopyResult::Failed;
            } else {
                done += w;
            }
        }
        if (result == CopyResult::Done && cancelled && cancelled()) result = CopyResult::Cancelled;
    }
    ::close(in);
    // The exclusive name was made owner-only; the copy is the user's own file.
    // A file system without modes refuses this, which the copy survives.
    if (result == CopyResult::Done) (void)::fchmod(out, plat::newFileMode());
    if (::close(out) != 0 && result == CopyResult::Done) {
        error = errno;
        result = CopyResult::Failed;
    }
    if (result == CopyResult::Done && std::rename(part.c_str(), target.c_str()) != 0) {
        error = errno;
        result = CopyResult::Failed;
    }
    if (result != CopyResult::Done) ::unlink(part.c_str());
    return result;
}

} // namespace

std::string ProposedExtractName(const std::string& trailerFileName) {
    std::string name;
    for (unsigned char c : BareFileName(trailerFileName))
        if (ordinaryNameChar(c)) name.push_back(char(c));
    // No hidden file, nothing that reads as an option.
    std::size_t from = name.find_first_not_of(". -");
    name = from == std::string::npos ? std::string() : name.substr(from);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
    if (name.empty()) name = "family";
    return name + ".ged";
}

ExtractOutcome ExtractGedcomCopy(const std::string& gedFile, const std::string& target,
                                 const std::function<bool()>& cancelled) {
    int error = 0;
    switch (copyToNewFile(gedFile, target, cancelled, error)) {
    case CopyResult::Done: return {true, "\"" + plat::pathText(target) + "\" has been extracted."};
    case CopyResult::Cancelled: return {false, "Cancelled"};
    case CopyResult::Failed: break;
    }
    const std::string why = plat::FileSizeLimitReached() ? plat::FileSizeLimitText() : std::strerror(error);
    return {false, "\"" + plat::pathText(target) + "\" was not written.  " + why};
}

std::string WithPackedFileName(const std::string& message, const std::string& tempName, const std::string& packedName) {
    if (tempName.empty() || packedName.empty()) return message;
    const std::string shown = plat::pathText(tempName);        // as messages name it
    const std::string packed = plat::cp1252ToUtf8(packedName); // trailer text
    std::string out;
    std::size_t from = 0;
    for (std::size_t at; (at = message.find(shown, from)) != std::string::npos; from = at + shown.size())
        out += message.substr(from, at - from) + packed;
    return out + message.substr(from);
}
