#pragma once
// Plain-text forms of the main window's views for "Copy to Clipboard": one
// builder per view, each giving cp1252 text with CR LF line ends. The List,
// Highlighted and Islands views also have comma-separated forms.
//
// The window's Copy action:
//   if (!collection) return;
//   ClipText::WTMGTagSentOff guard;            // setting 126 off for the copy
//   text = <the page shown>.CopyText();        // calls its builder below
//   if (text) { ClipText::PutOnClipboard(*text); flash "Copy to Clipboard Complete"; }
//   (guard restores 126), then refill the view shown.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

class WABSCollection;
class WABSHighLighter;
class WColSortIterator;
class WDesIterator;
class WFamilySubject;
class WListColumns;

namespace ClipText {

// Choices of the list-clip dialog.
enum Choice : int { kFixed = 1, kCSV = 2, kCSVFile = 3 };
inline bool ValidChoice(int choice) { return choice == kFixed || choice == kCSV || choice == kCSVFile; }

// Writing the comma-separated text to its file failed.
class EInOutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Setting 126 (TMGTagSent) off for the scope, restored whatever happens.
class WTMGTagSentOff {
public:
    WTMGTagSentOff();
    ~WTMGTagSentOff();
    WTMGTagSentOff(const WTMGTagSentOff&) = delete;
    WTMGTagSentOff& operator=(const WTMGTagSentOff&) = delete;

private:
    bool m_saved;
};

// --- pieces ---
// A cell of Width - 1 characters: at most Width - 2 of the text, then blanks,
// so at least one blank follows every cell. Nothing for Width below 2.
void WritePaddedField(const std::string& text, std::int32_t width, std::string& buffer);
// The text with every double quote doubled, enclosed in double quotes.
std::string QuoteCSV(const std::string& text);
// Label alone when the trimmed value is exactly ","; else label, a blank and
// the untrimmed value. Then CR LF.
void WriteLabelledLine(const std::string& label, const std::string& value, std::string& buffer);
// The part of a path after its last '\', '/' or ':'.
std::string BareFileName(const std::string& path);

// --- one builder per notebook page ---
// Page 0. gridPage: the General view's header notebook shows its grids
// (page 0); otherwise the raw header and submitter texts are written.
// fileName: the window's open file name (its folder is dropped).
std::string GeneralViewText(WABSCollection& collection, const std::string& fileName, bool gridPage);

// Page 1. rawRecordPage: the Individual view shows the raw record. Empty when
// the individual is not handed out. The grid rows are built in their
// clipboard form (with "Sex" and "Modify Date"); the view refills its own
// rows afterwards.
std::string IndividualViewText(WABSCollection& collection, WABSHighLighter* highlighter, std::int32_t individual,
                               bool rawRecordPage);

// Page 2: the Family view's subject and shown family. Empty without a subject.
std::string FamilyViewText(WABSCollection& collection, const WFamilySubject& subject);

// Page 3: the Pedigree view's subject and shown family, on a 31 x 80 character grid.
std::string PedigreeViewText(WABSCollection& collection, const WFamilySubject& subject);

// Page 4: the Descendants view's list. Shows the wait dialog and lets
// messages through every 50 entries.
std::string DescendantsViewText(WABSCollection& collection, const WDesIterator& list);

// Pages 5 and 13: the List view's column set and iterator (the highlighted
// one on the Highlighted tab). The List view stores its grid's column widths
// into the set first. Nothing for a choice other than 1, 2 or 3. Shows the
// wait dialog and lets messages through every 25 individuals. With choice 3
// the text is also saved to fileName (EInOutError as SaveTextToFile).
std::optional<std::string> ListViewText(const WListColumns& columns, WColSortIterator& iterator, int choice,
                                        const std::string& fileName = {});

// Page 6. Nothing for a choice other than 1, 2 or 3. Computes the islands
// when needed. With choice 3 the text is also saved to fileName.
std::optional<std::string> IslandsViewText(WABSCollection& collection, int choice, const std::string& fileName = {});

// Writes the text to the file, replacing it; nothing for an empty name.
// EInOutError when the file cannot be created or written; a file that was
// there is then left as it was, unless it was written in place.
void SaveTextToFile(const std::string& fileName, const std::string& text);

// Puts the text on the clipboard through the platform hook.
void PutOnClipboard(const std::string& text);

} // namespace ClipText
