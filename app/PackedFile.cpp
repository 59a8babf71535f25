#include "app/PackedFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

#include "app/LinkText.h"
#include "platform/CodePage.h"
#include "platform/TempFiles.h"

namespace {

bool ordinaryNameChar(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
    if (c == ' ' || c == '-' || c == '_' || c == '.' || c == '(' || c == ')') return true;
    // Accented letters of code page 1252, but not its multiplication and division signs.
    return c >= 0xC0 && c != 0xD7 && c != 0xF7;
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
    auto notWritten = [&](int error) {
        return ExtractOutcome{false, "\"" + plat::pathText(target) + "\" was not written.  " + std::strerror(error)};
    };
    const int in = ::open(gedFile.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return notWritten(errno);
    plat::SaveFile out(target);
    ExtractOutcome outcome;
    if (!out.open()) outcome.Message = out.error();
    std::vector<char> buf(std::size_t(1) << 20);
    while (outcome.Message.empty()) {
        const ssize_t n = ::read(in, buf.data(), buf.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            outcome = notWritten(errno);
            if (out.writtenInPlace()) outcome.Message += "." + out.incomplete();
        } else if (n == 0) {
            if (out.commit())
                outcome = {true, "\"" + plat::pathText(target) + "\" has been extracted."};
            else
                outcome.Message = out.error();
        } else if (!out.out().write(buf.data(), n)) {
            outcome.Message = out.error();
        } else if (cancelled && cancelled()) {
            outcome.Message = "Cancelled" + (out.writtenInPlace() ? "." + out.incomplete() : std::string());
        }
    }
    ::close(in);
    return outcome;
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
