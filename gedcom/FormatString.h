#pragma once
// The file-kind factory: decides from a file's name whether it can be read and
// makes the collection for it.
#include <memory>
#include <string>

class WABSCollection;

namespace FormatString {

// File type of a lower-case extension with its dot: 1 GEDCOM (".ged", ".sub",
// ".xxx", ".tmp"), 2 ".paf", 4 ".ftw"/".fbk", 5 ".tmg", 6 ".pjc", 0 anything else.
int GetFileType(const std::string& extension);
// 2 when the file starts with the UTF-16 little-endian mark FF FE, else 1
// (also when it cannot be read).
int IsUnicodeFile(const std::string& fileName);
// A new collection for the file, or none with the reason in error: "Unknown
// file format", or "Error: Cannot read unicode GEDCOM file" CR and the name.
// A file that cannot be mapped raises the mapped-file error.
std::unique_ptr<WABSCollection> OpenCollection(const std::string& fileName, std::string& error, int forcedType = 0);

} // namespace FormatString
