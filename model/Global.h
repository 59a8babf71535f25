#pragma once
// Routines every subsystem uses: temporary files, the counted busy cursor,
// the large-font test, upper-casing, Soundex and the comma split.
#include <array>
#include <string>

namespace Global {

// Private temporary folder of the user, with its trailing '/'.
std::string GetTempPath();

// A fresh "qel*.tmp" file in the temporary folder. The file is created
// (mode 0600) and kept, with our lock on it, so nobody can take the name
// between our choosing it and using it. Throws plat::TempError on failure.
std::string GetTempFileName();
// Releases and deletes a file made by GetTempFileName.
bool DeleteTempFile(const std::string& name);
// Deletes leftover "qel*.tmp" files that no running instance holds.
void DeleteTempFiles();

// True adds one busy level, False takes one away (never below zero). The
// hourglass shows while the count is above zero.
void SetBusy(bool busy);
int BusyCount();

// Read by the status timer; nothing in this edition changes them.
int GetProgressCount();
bool GetProgressDone();

// True when the screen reports exactly 120 logical pixels per inch; asked
// once and cached for the run.
bool IsLargeFonts();
// Drops the cached answer (tests change the screen between cases).
void ForgetLargeFonts();

// Upper-case table of the code page, built once.
const std::array<unsigned char, 256>& UpperTable();
inline unsigned char UpperChar(unsigned char c) { return UpperTable()[c]; }
std::string ToUpper(const std::string& text);

// Four-character Soundex code, or empty text for empty input.
std::string Soundex(const std::string& text);

// First and second comma-separated piece, trimmed; without a comma the whole
// text unchanged and an empty second.
void SplitAtComma(const std::string& text, std::string& first, std::string& second);

} // namespace Global
