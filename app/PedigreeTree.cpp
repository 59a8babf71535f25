#include "app/PedigreeTree.h"

#include <algorithm>
#include <memory>

#include "model/ABSCollection.h"
#include "model/Options.h"

namespace {

bool hasParent(WABSCollection* collection, std::int32_t individual) {
    return individual != 0 && (collection->GetFather(individual) != 0 || collection->GetMother(individual) != 0);
}

// Tops of the ancestors' boxes in a tree T pixels high: generation g has
// 2^(g-1) boxes centred on odd multiples of T / 2^g.
void placeAncestors(PedigreeLayout& l, int T) {
    auto box = [&](int k) -> PedBox& { return l.Boxes[std::size_t(k)]; };
    const int outer3 = box(kPedFirstOuter).Height / 3;
    box(1).Top = T / 2 - box(1).Height / 2;
    for (int k = 2; k <= 3; ++k) box(k).Top = int(T / 4.0 * (2 * (k - 2) + 1) - box(2).Height / 2);
    for (int k = 4; k <= 7; ++k) box(k).Top = int(T / 8.0 * (2 * (k - 4) + 1) - outer3);
    for (int k = 8; k <= 15; ++k) box(k).Top = int(T / 16.0 * (2 * (k - 8) + 1) - outer3);
    for (int k = 16; k <= 31; ++k) box(k).Top = int(T / 32.0 * (2 * (k - 16) + 1) - T / 128);
}

bool meet(const PedBox& a, const PedBox& b) {
    return a.Left < b.Right() && b.Left < a.Right() && a.Top < b.Top + b.Height && b.Top < a.Top + a.Height;
}

bool ancestorsApart(const PedigreeLayout& l) {
    for (int a = 1; a <= kPedBoxes; ++a)
        for (int b = a + 1; b <= kPedBoxes; ++b)
            if (meet(l.Boxes[std::size_t(a)], l.Boxes[std::size_t(b)])) return false;
    return true;
}

} // namespace

PedAncestors PedigreeAncestors(WABSCollection* collection, std::int32_t individual) {
    // A fixed number of boxes filled top down: a loop in the data (someone
    // their own ancestor) only repeats a person in the outer boxes.
    PedAncestors a{};
    if (!collection) return a;
    a[1] = individual;
    for (int k = 2; k <= kPedBoxes; ++k) {
        const std::int32_t child = a[std::size_t(k / 2)];
        if (child == 0) continue;
        a[std::size_t(k)] = k % 2 == 0 ? collection->GetFather(child) : collection->GetMother(child);
    }
    return a;
}

void ShowPedigreeTree(WABSCollection* collection, const WFamilySubject& subject, PedigreeTree& tree) {
    tree = PedigreeTree{};
    tree.Filled = true;
    if (!collection) return;
    const std::int32_t me = subject.Subject();

    // Siblings: the other children of the first parent family.
    if (std::unique_ptr<WABSIndividual> ind = collection->GetIndividual(me)) {
        if (std::unique_ptr<WABSMarriage> parents = collection->GetMarriage(ind->GetParentFamily(1))) {
            parents->SortChildren();
            for (std::int32_t i = 1; i <= parents->GetChildCount(); ++i) {
                const std::int32_t c = parents->GetChild(i);
                if (c != me) tree.Siblings.push_back(c);
            }
            tree.SiblingsLabel = "Siblings (" + std::to_string(tree.Siblings.size()) + ")";
        }
    }

    // The shown family: its children and the spouse.
    if (subject.Count() >= 1) {
        if (std::unique_ptr<WABSMarriage> family = collection->GetMarriage(subject.CurrentFamily())) {
            family->SortChildren();
            for (std::int32_t i = 1; i <= family->GetChildCount(); ++i) {
                const std::int32_t c = family->GetChild(i);
                if (c != 0 && c != me) tree.Children.push_back(c);
            }
            tree.Spouse = family->GetOtherSpouse(me);
        }
    }
    tree.ChildrenLabel = "Children (" + std::to_string(tree.Children.size()) + ")";
    tree.Plus[17] = hasParent(collection, tree.Spouse);

    tree.Ancestors = PedigreeAncestors(collection, me);
    for (int i = 1; i <= 16; ++i)
        tree.Plus[std::size_t(i)] = hasParent(collection, tree.Ancestors[std::size_t(15 + i)]);
}

PedListItem MakePedListItem(WABSCollection* collection, WABSHighLighter* highlighter, std::int32_t individual) {
    PedListItem item;
    item.Individual = individual;
    item.Back = HighlightBackColor(highlighter, individual);
    item.Font = HighlightFontColor(highlighter, individual);
    if (!collection) return item;
    std::unique_ptr<WABSIndividual> ind = collection->GetIndividual(individual);
    if (!ind) return item;
    item.Plus = collection->HasChildren(individual);
    item.Qualifier = ind->GetEventQualifierLetter(EventKind::Birth, 1);
    const std::int32_t year = ind->GetEventYear(EventKind::Birth, 1);
    if (year != 0) item.Year = std::to_string(year);
    item.Given = ind->GetGivenText();
    if (item.Given.empty()) item.Given = "<No Given Name>";
    if (WOptions::GetBool(opt::UseLDS)) {
        item.LDS = "----";
        if (ind->HasLDSEvent(EventKind::LDSBaptism)) item.LDS[0] = 'B';
        if (ind->HasLDSEvent(EventKind::LDSEndowment)) item.LDS[1] = 'E';
        if (ind->HasLDSEvent(EventKind::LDSSealParents)) item.LDS[2] = 'P';
        if (collection->HasSpouseSealing(individual, 0)) item.LDS[3] = 'S';
    }
    return item;
}

PedigreeLayout LayoutPedigree(int width, int height, const std::array<int, kPedBoxes + 1>& heights, int spouseHeight,
                              int buttonHeight, int spouseNameWidth, int buttonWidth) {
    PedigreeLayout l;
    const int W = width;
    const int H = height - 5;
    if (W < 1 || H < 1) return l;
    l.Valid = true;
    const int P = int(W * 0.28);
    for (int k = 1; k <= kPedBoxes; ++k) {
        l.Boxes[std::size_t(k)].Width = k == 1 ? int(W * 0.32) : P;
        l.Boxes[std::size_t(k)].Height = heights[std::size_t(k)];
    }
    l.Spouse.Height = spouseHeight;

    auto box = [&](int k) -> PedBox& { return l.Boxes[std::size_t(k)]; };
    box(1).Left = 5;
    l.Spouse.Left = 5;
    l.ButtonLeft = 12;
    for (int k = 2; k <= 3; ++k) box(k).Left = P / 6;
    for (int k = 4; k <= 7; ++k) box(k).Left = P / 2;
    for (int k = 8; k <= 15; ++k) box(k).Left = P / 4 + P + P / 8;
    for (int k = 16; k <= 31; ++k) box(k).Left = 2 * P + P / 2;
    // A long name widens the spouse's box up to the fourth generation, its marker beside it.
    const int room = box(8).Left - kPedPlusWidth - kPedGap - l.Spouse.Left;
    l.Spouse.Width = std::max(P, std::min(spouseNameWidth, room));

    // The spouse's box lies under the lowest grandparent (box 7), in the same
    // columns, and so may the spouse button: where the area is too low for
    // all, the ancestors take the height that ends box 7 above them.
    const int outer3 = box(kPedFirstOuter).Height / 3;
    const int below7 = box(7).Height - outer3;
    const int underButton = l.ButtonLeft + buttonWidth > box(7).Left ? buttonHeight + 2 : 0;
    const int fit = H - l.Spouse.Height - 5 - underButton;
    int T = std::max(1, std::min(H, (fit - kPedGap - below7) * 8 / 7));
    // Lower still, the generations would run into each other: the tree keeps
    // the least height at which they stay apart, and the area grows below.
    placeAncestors(l, T);
    while (!ancestorsApart(l)) placeAncestors(l, ++T);

    l.Spouse.Top = std::max(H, T) - l.Spouse.Height - 5;
    l.Spouse.Top = std::max(l.Spouse.Top, box(7).Top + box(7).Height + kPedGap + underButton);
    l.ButtonTop = l.Spouse.Top - buttonHeight - 2;
    int bottom = l.Spouse.Top + l.Spouse.Height + 5;
    for (int k = 1; k <= kPedBoxes; ++k) bottom = std::max(bottom, box(k).Top + box(k).Height);
    l.Width = W;
    l.Height = std::max(height, bottom + 5);

    for (int i = 1; i <= 16; ++i) l.PlusAt[std::size_t(i)] = {box(15 + i).Right(), box(15 + i).Top};
    l.PlusAt[17] = {l.Spouse.Right(), l.Spouse.Top};
    return l;
}

std::vector<PedLine> PedigreeLines(const PedigreeLayout& l) {
    std::vector<PedLine> lines;
    if (!l.Valid) return lines;
    const PedBox& first = l.Boxes[1];
    lines.push_back({l.Spouse.Left + 1, first.Top, l.Spouse.Left + 1, l.Spouse.Top});
    const int G = l.Boxes[16].Left - l.Boxes[8].Right();
    const int g = G / 2;
    for (int a = 2; a < kPedBoxes; a += 2) {
        const PedBox& A = l.Boxes[std::size_t(a)];
        const PedBox& B = l.Boxes[std::size_t(a + 1)];
        const int yA = A.Middle(), yB = B.Middle();
        lines.push_back({A.Left, yA, A.Left - g, yA});
        lines.push_back({A.Left - g, yA, B.Left - g, yB});
        lines.push_back({B.Left - g, yB, B.Left, yB});
        if (a >= kPedFirstOuter) {
            const int y = (yA + yB) / 2;
            lines.push_back({A.Left - G - 1, y, A.Left - g, y});
        }
    }
    return lines;
}
