#include "highlight/ui/SelectionButton.h"

#include <QAction>
#include <QMenu>

#include "highlight/ui/Cursors.h"
#include "model/JclStrings.h"
#include "platform/ui/QtText.h"

namespace {
// "&" would otherwise turn into a keyboard accelerator in the menu.
QString menuText(const std::string& s) {
    QString q = toQ(s);
    q.replace(QLatin1Char('&'), QLatin1String("&&"));
    return q;
}
} // namespace

WSelectionButton::WSelectionButton(QWidget* owner) : QToolButton(owner), FMenu(new QMenu(this)) {
    setCursor(HLCursors::SelectCursor());
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QAbstractButton::clicked, this, &WSelectionButton::ShowList);
}

WSelectionButton::~WSelectionButton() = default;

void WSelectionButton::SetItemString(const std::string& s) {
    std::vector<std::string> pieces;
    JclStrings::StrToStrings(s, ";", pieces, true);
    std::vector<Item> items;
    items.reserve(pieces.size());
    for (auto& p : pieces) items.push_back(Item{p, p == "-"});
    SetItems(items);
}

std::string WSelectionButton::GetItemString() const {
    std::string s;
    for (std::size_t i = 0; i < FItems.size(); ++i) {
        if (i) s += ';';
        s += FItems[i].separator ? std::string("-") : FItems[i].text;
    }
    return s;
}

void WSelectionButton::SetItems(const std::vector<Item>& items) {
    FItems = items;
    Rebuild();
}

void WSelectionButton::SetItems(const std::vector<std::string>& texts) {
    std::vector<Item> items;
    items.reserve(texts.size());
    for (auto& t : texts) items.push_back(Item{t, false});
    SetItems(items);
}

void WSelectionButton::Rebuild() {
    FMenu->clear();
    int number = 0;
    for (const Item& it : FItems) {
        if (it.separator) {
            FMenu->addSeparator();
            continue;
        }
        const int n = ++number;
        QAction* a = FMenu->addAction(menuText(it.text));
        connect(a, &QAction::triggered, this, [this, n] { ItemClicked(n); });
    }
}

int WSelectionButton::NumberAt(int position) const {
    if (position < 0 || position >= int(FItems.size()) || FItems[std::size_t(position)].separator) return 0;
    int number = 0;
    for (int i = 0; i <= position; ++i)
        if (!FItems[std::size_t(i)].separator) ++number;
    return number;
}

bool WSelectionButton::ChooseNumber(int n) {
    int number = 0;
    for (QAction* a : FMenu->actions()) {
        if (a->isSeparator()) continue;
        if (++number == n) {
            a->trigger();
            return true;
        }
    }
    return false;
}

void WSelectionButton::SetItemSelected(int k) {
    FItemSelected = k;
    if (FUpdateCaption && k >= 1 && k <= int(FItems.size())) setText(toQ(FItems[std::size_t(k - 1)].text));
}

void WSelectionButton::ItemClicked(int number) {
    FItemSelected = number;
    if (FUpdateCaption) {
        int seen = 0;
        for (const Item& it : FItems)
            if (!it.separator && ++seen == number) {
                setText(toQ(it.text));
                break;
            }
    }
    emit OnItemChange();
}

void WSelectionButton::ShowList() {
    emit OnBeforeShow();
    FMenu->popup(mapToGlobal(QPoint(0, 0)));
}
