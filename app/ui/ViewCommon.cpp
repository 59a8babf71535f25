#include "app/ui/ViewCommon.h"

#include "app/ClipboardText.h"
#include "app/ui/ListClipDialog.h"
#include "app/ui/dlgListColumns.h"
#include "highlight/ABSHighLighter.h"
#include "model/Global.h"
#include "platform/ui/QtText.h"

namespace ViewCommon {

QString MemoText(const std::string& s) {
    QString t = toQ(s);
    t.replace("\r\n", "\n");
    t.replace('\r', '\n');
    return t;
}

QColor HighlightBackColor(WABSHighLighter* h, std::int32_t individual) {
    return h ? toQColor(h->GetBackColor(individual)) : QColor(Qt::white);
}

QColor HighlightFontColor(WABSHighLighter* h, std::int32_t individual) {
    return h ? toQColor(h->GetFontColor(individual)) : QColor(Qt::black);
}

ColumnChooser DialogColumnChooser(QWidget* owner) {
    return [owner](WListColumns& set, std::string& list) {
        TdlgListColumns dlg(owner ? owner->window() : nullptr, &set);
        if (dlg.exec() != QDialog::Accepted) return false;
        list = dlg.GetColumnList();
        return true;
    };
}

std::optional<ListCopyChoice> AskListCopy(QWidget* owner) {
    TListClipDlg dlg(owner ? owner->window() : nullptr);
    dlg.exec();
    if (!ClipText::ValidChoice(dlg.GetChoice())) return std::nullopt;
    return ListCopyChoice{dlg.GetChoice(), dlg.GetFileName()};
}

BusyScope::BusyScope() { Global::SetBusy(true); }
BusyScope::~BusyScope() { Global::SetBusy(false); }

} // namespace ViewCommon
