#include "app/DescendantRows.h"

#include <memory>

#include "app/FamilyRows.h"
#include "model/ABSCollection.h"
#include "model/DescendantIterator.h"
#include "model/Options.h"

namespace {

// Repeated individuals are marked on aqua.
constexpr plat::ColorRef kDuplicateBack = plat::rgb(0, 255, 255);

DesPiece plain(std::string text) { return {std::move(text), plat::kWhite, plat::kBlack}; }

DesPiece highlighted(WABSHighLighter* highlighter, std::int32_t individual, std::string text) {
    return {std::move(text), HighlightBackColor(highlighter, individual), HighlightFontColor(highlighter, individual)};
}

} // namespace

DesNameLine DescendantNameLine(WABSCollection* collection, WABSHighLighter* highlighter, const WDesEntry& entry) {
    DesNameLine line;
    std::unique_ptr<WABSIndividual> ind = collection ? collection->GetIndividual(entry.individual) : nullptr;
    if (!ind) return line;
    line.Indent = WOptions::GetInt(opt::DesIndent) * entry.generation;
    line.Pieces.push_back(plain(std::to_string(entry.generation + 1) + " - "));
    line.Pieces.push_back(highlighted(highlighter, entry.individual, ind->GetDisplayName()));
    if (entry.repeated == 1) {
        line.Pieces.push_back(plain(" "));
        line.Pieces.push_back({"(DUPLICATED)", kDuplicateBack, plat::kBlack});
    } else if (entry.familyCount > 0 && entry.spouse != 0) {
        line.Pieces.push_back(plain(" + "));
        std::unique_ptr<WABSIndividual> spouse = collection->GetIndividual(entry.spouse);
        std::string name = spouse ? spouse->GetDisplayName() : std::string();
        if (entry.familyCount > 1)
            name += " [" + std::to_string(entry.familyPos) + " of " + std::to_string(entry.familyCount) + "]";
        line.Pieces.push_back(highlighted(highlighter, entry.spouse, std::move(name)));
    }
    return line;
}

std::string DescendantsTitle(const WDesIterator* list) {
    if (!list) return "Descendants (0)";
    return "Descendants (" + std::to_string(list->GetDescendantCount()) + " individuals)";
}

std::string DescendantGenerationsText(int limit) {
    return limit == 0 ? "Show ALL Generations" : "Show " + std::to_string(limit) + " Generations";
}
