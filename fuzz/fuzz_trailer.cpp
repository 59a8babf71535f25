// Fuzz target of the trailer reader: the input is a whole self-viewing
// program file. Its trailer is checked and read, and every text the Sender
// page and the Extract button make from it is built.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "app/LinkText.h"
#include "app/PackedFile.h"
#include "app/SelfViewTrailer.h"
#include "app/Startup.h"
#include "fuzz/FuzzSupport.h"
#include "model/DateTimeText.h"
#include "platform/Hooks.h"

namespace {

// A link of the scheme "mailto:" in any letter case.
bool mailLink(const std::string& link) {
    static const char scheme[] = "mailto:";
    for (std::size_t i = 0; i + 1 < sizeof scheme; ++i)
        if (i >= link.size() || std::tolower(static_cast<unsigned char>(link[i])) != scheme[i]) return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string program = fuzz::ScratchName("program"), copy = fuzz::ScratchName("archive");
    static const bool quiet = [] {
        plat::hooks().messageBox = [](const std::string&, const std::string&, unsigned) { return int(plat::IDOK); };
        plat::hooks().showMessage = [](const std::string&) {};
        return true;
    }();
    (void)quiet;
    if (!fuzz::WriteFile(program, data, size)) return 0;
    TSelfViewTrailer t;
    std::uint64_t fileSize = 0;
    if (ZELT::InspectSelfViewFile(program, &t, &fileSize) != ZELT::TrailerCheck::Ok) return 0;
    const std::string created = DateTimeText::FormatDateTime("dddd, mmm d, yyyy, hh:mm AM/PM", t.CreateDate);
    DateTimeText::FormatDateTime("ddd, mmm d, yyyy, hh:mm AM/PM", t.CreateDate);
    // The links as the Sender page's labels open them: nothing the sender
    // wrote may add a query to a mail link (no attachment, no copies).
    const std::string mail =
        LabelLink(SenderMailLink(t.SenderEmail, t.Title, BareFileName(program), created), t.SenderEmail);
    if (!mailLink(mail) || std::count(mail.begin(), mail.end(), '?') != 1 || mail.find('?') != mail.find("?subject="))
        __builtin_trap();
    const std::string web = LabelLink(SenderWebLink(t.WebSite), t.WebSite);
    if (mailLink(web) && web.find('?') != std::string::npos) __builtin_trap();
    const std::string name = ProposedExtractName(t.FileName);
    if (name.empty() || name[0] == '.' || name.find('/') != std::string::npos) __builtin_trap();
    WithPackedFileName("Error: Cannot read unicode GEDCOM file\r" + program, program, t.FileName);
    // The archive range as the start-up copies it.
    const int fd = ::open(program.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ZELT::CopyPayloadToFile(fd, t.ArchiveOffset, copy, fileSize - kTrailerSize - t.ArchiveOffset);
        ::close(fd);
        ::unlink(copy.c_str());
    }
    return 0;
}
