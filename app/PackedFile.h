#pragma once
// The packed GEDCOM file as the user meets it: the name messages give it, the
// name proposed for a saved copy, and that copy.
#include <functional>
#include <string>

// The name the save dialog proposes: the trailer's file name without folders,
// leading dots or characters beyond the ordinary ones of file names, always
// ending ".ged" (the sender chooses this text, the receiver only presses Return).
std::string ProposedExtractName(const std::string& trailerFileName);

// Extract GEDCOM: copies the unpacked file gedFile to target, saved as every
// save is (plat::SaveFile). cancelled is asked between chunks. On failure or
// cancel nothing is left behind and target is as it was, unless its folder
// takes no new file and it was written in place. Message is what the user is
// told either way.
struct ExtractOutcome {
    bool Done = false;
    std::string Message;
};
ExtractOutcome ExtractGedcomCopy(const std::string& gedFile, const std::string& target,
                                 const std::function<bool()>& cancelled);

// message with every mention of the unpacked temp file replaced by the packed
// file's own name, a trailer text in the code page (left as it is when that
// name is empty).
std::string WithPackedFileName(const std::string& message, const std::string& tempName, const std::string& packedName);
