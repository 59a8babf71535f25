#pragma once
// A read-only memo for texts of any length: a note may be one line of many
// megabytes, and laying that out at once freezes the window. The memo shows a
// bounded first part and adds the next part whenever the view reaches its end.
#include <string>

#include <QPlainTextEdit>
#include <QString>

class TLongTextMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    // Characters put into the document at a time, and the longest line laid
    // out in one piece (a longer one continues on a line of its own).
    static constexpr qsizetype kPart = 64 * 1024;
    static constexpr qsizetype kLine = 4096;

    explicit TLongTextMemo(QWidget* parent = nullptr);

    // cp1252 text with CR LF (or CR, or LF) line breaks; the caret goes to
    // the start. Only the part shown is converted.
    void SetLongText(const std::string& cp1252);

    // Characters of the text not yet in the document.
    std::size_t PendingLength() const { return FText.size() - FPos; }

private:
    void LoadMoreWhenAtEnd();

    std::string FText;
    std::size_t FPos = 0;
    bool FAppending = false;
};
