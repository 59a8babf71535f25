#include "gedcom/FormatString.h"

#include <fcntl.h>
#include <unistd.h>

#include "gedcom/GEDCollection.h"
#include "platform/CodePage.h"
#include "platform/TempFiles.h"

int FormatString::GetFileType(const std::string& e) {
    if (e == ".tmp") return 1;
    if (e == ".ftw" || e == ".fbk") return 4;
    if (e == ".tmg") return 5;
    if (e == ".pjc") return 6;
    if (e == ".xxx" || e == ".ged" || e == ".sub") return 1;
    if (e == ".paf") return 2;
    return 0;
}

int FormatString::IsUnicodeFile(const std::string& fileName) {
    // A pipe at the name must not hold the program up; the reader refuses it.
    const int fd = plat::openRegularFile(fileName, O_RDONLY);
    if (fd < 0) return 1;
    unsigned char b[3] = {0, 0, 0};
    const ssize_t n = ::read(fd, b, sizeof b);
    ::close(fd);
    return n >= 2 && b[0] == 0xFF && b[1] == 0xFE ? 2 : 1;
}

std::unique_ptr<WABSCollection> FormatString::OpenCollection(const std::string& fileName, std::string& error,
                                                             int forcedType) {
    int type = forcedType;
    if (type == 0) {
        // The extension of the lower-cased name (ASCII letters only: file names are not text of the file).
        std::string lower = fileName;
        for (char& c : lower)
            if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        std::size_t slash = lower.find_last_of('/');
        std::size_t dot = lower.find_last_of('.');
        std::string ext =
            dot != std::string::npos && (slash == std::string::npos || dot > slash) ? lower.substr(dot) : std::string();
        type = GetFileType(ext);
    }
    if (type != 1) {
        error = "Unknown file format";
        return nullptr;
    }
    if (IsUnicodeFile(fileName) == 2) {
        error = "Error: Cannot read unicode GEDCOM file\r" + plat::pathText(fileName);
        return nullptr;
    }
    return std::make_unique<WGEDCollection>(fileName);
}
