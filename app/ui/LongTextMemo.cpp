#include "app/ui/LongTextMemo.h"

#include <QScrollBar>
#include <QStringView>

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

QString TLongTextMemo::NextPart(const QString& text, qsizetype& pos, qsizetype budget) {
    const qsizetype n = text.size();
    QString part;
    while (pos < n && part.size() < budget) {
        const qsizetype end = std::min(n, pos + kLine);
        const QStringView window = QStringView(text).mid(pos, end - pos);
        const qsizetype nl = window.indexOf(u'\n');
        if (nl >= 0) {
            part += window.left(nl);
            pos += nl + 1;
        } else if (end == n) {
            part += window;
            pos = n;
        } else {
            const qsizetype blank = window.lastIndexOf(u' ');
            const qsizetype cut = blank >= kLine / 2 ? blank + 1 : window.size();
            part += window.left(cut);
            pos += cut;
        }
        if (pos < n && part.size() < budget) part += u'\n';
    }
    return part;
}

void TLongTextMemo::SetLongText(const std::string& cp1252) {
    QString t = toQ(cp1252);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(u'\r', u'\n');
    SetLongText(t);
}

namespace {

// True when no line of text is longer than limit.
bool linesWithin(const QString& text, qsizetype limit) {
    qsizetype start = 0;
    for (qsizetype nl; (nl = text.indexOf(u'\n', start)) >= 0; start = nl + 1)
        if (nl - start > limit) return false;
    return text.size() - start <= limit;
}

} // namespace

void TLongTextMemo::SetLongText(const QString& text) {
    if (text.size() <= kPart && linesWithin(text, kLine)) {
        setPlainText(text);  // short and plain: exactly as given
    } else {
        qsizetype pos = 0;
        const QString first = NextPart(text, pos, kPart);
        setPlainText(first);
        FText = text;
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
        appendPlainText(NextPart(FText, FPos, kPart));
        bar->setValue(at);
    }
    if (FPos >= FText.size()) {
        FText.clear();
        FPos = 0;
    }
    FAppending = false;
}
