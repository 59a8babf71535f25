#include "app/ui/LongTextMemo.h"

#include <algorithm>

#include <QScrollBar>

#include "model/StrFunc.h"
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

void TLongTextMemo::SetLongText(const std::string& cp1252) {
    std::size_t pos = 0;
    const std::string first = StrFunc::NextTextPart(cp1252, pos, std::size_t(kPart), std::size_t(kLine));
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
        appendPlainText(toQ(StrFunc::NextTextPart(FText, FPos, std::size_t(kPart), std::size_t(kLine))));
        bar->setValue(at);
    }
    if (FPos >= FText.size()) {
        FText.clear();
        FPos = 0;
    }
    FAppending = false;
}
