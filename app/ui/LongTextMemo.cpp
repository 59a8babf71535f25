#include "app/ui/LongTextMemo.h"

#include <QScrollBar>

#include <algorithm>
#include <string_view>

#include "platform/ui/QtText.h"

TLongTextMemo::TLongTextMemo(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    // Any change but our own appending (clear, setPlainText) drops the rest.
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!FAppending) {
            FText.clear();
            FPos = 0;
        }
    });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { LoadMoreWhenAtEnd(); });
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, [this] { LoadMoreWhenAtEnd(); });
}

std::string TLongTextMemo::NextPart(const std::string& text, std::size_t& pos, std::size_t budget) {
    const std::size_t n = text.size();
    std::string part;
    while (pos < n && part.size() < budget) {
        // Never look further than one line's worth: a text may be one line of many megabytes.
        const std::string_view window = std::string_view(text).substr(pos, std::size_t(kLine));
        const std::size_t br = window.find_first_of("\r\n");
        if (br != std::string_view::npos) {
            part += window.substr(0, br);
            pos += br + (text[pos + br] == '\r' && pos + br + 1 < n && text[pos + br + 1] == '\n' ? 2 : 1);
        } else if (pos + window.size() == n) {
            part += window;
            pos = n;
        } else {
            const std::size_t blank = window.rfind(' ');
            const std::size_t cut =
                blank != std::string_view::npos && blank >= std::size_t(kLine / 2) ? blank + 1 : window.size();
            part += window.substr(0, cut);
            pos += cut;
        }
        if (pos < n && part.size() < budget) part += '\n';
    }
    return part;
}

void TLongTextMemo::SetLongText(const std::string& cp1252) {
    std::size_t pos = 0;
    const std::string first = NextPart(cp1252, pos, std::size_t(kPart));
    std::size_t longest = 0, line = 0;
    for (char c : first) {
        line = c == '\n' ? 0 : line + 1;
        longest = std::max(longest, line);
    }
    if (pos >= cp1252.size() && longest < std::size_t(kLine)) {
        // Short and plain: exactly as given.
        QString t = toQ(cp1252);
        t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        t.replace(u'\r', u'\n');
        setPlainText(t);
    } else {
        setPlainText(toQ(first));
        FText = cp1252;
        FPos = pos;
    }
    moveCursor(QTextCursor::Start);
    LoadMoreWhenAtEnd();
}

void TLongTextMemo::LoadMoreWhenAtEnd() {
    if (FAppending) return;
    FAppending = true;
    QScrollBar* bar = verticalScrollBar();
    // A few parts at most per call: a view that still is not full asks again.
    for (int i = 0; i < 4 && FPos < FText.size(); ++i) {
        if (bar->maximum() > 0 && bar->value() < bar->maximum() - bar->pageStep()) break;
        // appendPlainText follows the end only when the view was there; keep it where it is.
        const int at = bar->value();
        appendPlainText(toQ(NextPart(FText, FPos, std::size_t(kPart))));
        bar->setValue(at);
    }
    if (FPos >= FText.size()) {
        FText.clear();
        FPos = 0;
    }
    FAppending = false;
}
