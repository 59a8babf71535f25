#include "reports/ReportFactory.h"

#include <optional>

#include "columns/ColSortIterator.h"
#include "highlight/HLListIterator.h"
#include "model/ABSCollection.h"
#include "reports/ReportDescendants.h"
#include "reports/ReportFamily.h"
#include "reports/ReportInd.h"
#include "reports/ReportInfo.h"
#include "reports/ReportIsland.h"
#include "reports/ReportList.h"
#include "reports/ReportPedigree.h"

namespace {

// The spouse family of the chosen marriage, if there is one.
std::optional<std::int32_t> chosenFamily(const TReportChoice& c) {
    if (c.Marriage < 1) return std::nullopt;
    std::unique_ptr<WABSIndividual> ind = c.Collection->GetIndividual(c.Individual);
    if (!ind || c.Marriage > ind->GetSpouseFamilyCount()) return std::nullopt;
    return ind->GetSpouseFamily(c.Marriage);
}

} // namespace

TReportFactory::TReportFactory() = default;
TReportFactory::~TReportFactory() = default;

void TReportFactory::Borrow(WColSortIterator* highlighted, WColSortIterator* list) {
    FOwnHighlighted.reset();
    FOwnList.reset();
    FHighlighted = highlighted;
    FList = list;
}

void TReportFactory::DropOwnHighlighted() {
    if (FOwnHighlighted && FHighlighted == FOwnHighlighted.get()) FHighlighted = nullptr;
    FOwnHighlighted.reset();
}

std::unique_ptr<TABSReportForm> TReportFactory::Build(const TReportChoice& c) {
    if (!c.Collection) return nullptr;
    switch (c.Page) {
    case rpGeneral: {
        auto f = std::make_unique<TReportInfoForm>();
        f->SetTitle("General File Information");
        f->SetCollection(c.Collection);
        f->SetFileName(c.FileName);
        return f;
    }
    case rpIndividual: {
        auto f = std::make_unique<TReportIndForm>();
        f->SetTitle("Individual Information");
        f->SetIndividual(c.Individual);
        f->SetCollection(c.Collection);
        f->SetFileName(c.FileName);
        return f;
    }
    case rpFamily: {
        if (c.Individual < 1) return nullptr;
        auto f = std::make_unique<TReportFamilyForm>();
        f->SetTitle("Family Group Information");
        f->SetIndividual(c.Individual);
        if (const auto family = chosenFamily(c))
            f->SetCouple(c.Collection->GetSpouse(c.Individual, c.Marriage), *family);
        f->SetCollection(c.Collection);
        f->SetFileName(c.FileName);
        return f;
    }
    case rpPedigree: {
        if (c.Individual < 1) return nullptr;
        auto f = std::make_unique<TReportPed4Form>();
        f->SetTitle("");
        f->SetIndividual(c.Individual);
        f->SetCascading(c.Cascading);
        f->SetCollection(c.Collection);
        if (const auto family = chosenFamily(c)) f->SetFamily(*family);
        f->SetFileName(c.FileName);
        return f;
    }
    case rpDescendants: {
        auto f = std::make_unique<TReportDesForm>();
        f->SetTitle("Descendants");
        f->SetOptions(c.Indent, c.Generations, c.Repeat, c.ColumnStart, c.PrintColumns, c.DesLines);
        f->SetFileName(c.FileName);
        f->SetCollection(c.Collection);
        f->SetColumns(c.DesColumns);
        f->SetIndividual(c.Individual);
        return f;
    }
    case rpList: {
        if (!FList) {
            FOwnList = std::make_unique<WColSortIterator>("", c.Collection->GetCount(), c.Collection);
            FList = FOwnList.get();
        }
        auto f = std::make_unique<TReportListForm>();
        f->SetTitle("List");
        f->SetLayout(c.Grey, c.Dividers, c.MarkHighlighted);
        f->SetHighLighter(c.HighLighter, false);
        f->SetCollection(c.Collection);
        f->SetColumns(c.ListColumns, FList);
        f->SetFileName(c.FileName);
        return f;
    }
    case rpHighlighted: {
        if (!FHighlighted) {
            FOwnHighlighted =
                std::make_unique<WColHLIterator>("", c.Collection->GetCount(), c.Collection, c.HighLighter);
            FHighlighted = FOwnHighlighted.get();
        }
        auto f = std::make_unique<TReportListForm>();
        f->SetTitle("Highlighted List");
        f->SetLayout(c.Grey, c.Dividers, false);
        f->SetHighLighter(c.HighLighter, true);
        f->SetCollection(c.Collection);
        f->SetColumns(c.ListColumns, FHighlighted);
        f->SetFileName(c.FileName);
        return f;
    }
    case rpIslands: {
        auto f = std::make_unique<TReportIslandForm>();
        f->SetTitle("Islands");
        f->SetCollection(c.Collection);
        f->SetFileName(c.FileName);
        f->SetLayout(c.Grey, c.Dividers);
        return f;
    }
    default: return nullptr;
    }
}
