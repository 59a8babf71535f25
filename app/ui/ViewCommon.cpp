#include "app/ui/ViewCommon.h"

#include "app/ui/dlgListColumns.h"
#include "highlight/ABSHighLighter.h"
#include "model/Global.h"
#include "platform/ui/QtText.h"

namespace ViewCommon {

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

BusyScope::BusyScope() { Global::SetBusy(true); }
BusyScope::~BusyScope() { Global::SetBusy(false); }

} // namespace ViewCommon
