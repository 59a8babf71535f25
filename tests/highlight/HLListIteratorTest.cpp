// The highlighted-list iterator over real condition strings.
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "highlight/HLGroup.h"
#include "highlight/HLListIterator.h"
#include "highlight/HLRegister.h"
#include "model/Options.h"
#include "platform/Hooks.h"
#include "support/MemCollection.h"

namespace {

std::vector<std::int32_t> Items(WColSortIterator& it) {
    std::vector<std::int32_t> v;
    for (std::int32_t p = 1; p <= it.Count(); ++p) v.push_back(it.GetItem(p));
    return v;
}

struct PumpGuard {
    std::function<void()> saved = plat::hooks().processMessages;
    ~PumpGuard() { plat::hooks().processMessages = saved; }
};

TEST(HLListIterator, KeepsHighlightedInViewOrder) {
    WDefaultSettings settings;
    HLRegister::RegisterConditionClasses();
    WMemCollection c;
    c.AddPerson("A /X/", 'M');
    c.AddPerson("B /X/", 'F');
    c.AddPerson("C /X/", 'U');
    c.AddPerson("D /X/", 'M');
    c.AddPerson("E /X/", 'F');
    WHLGroup g(&c);

    // No condition: nobody.
    g.SetConditions("");
    g.Recalculate();
    WColHLIterator empty("", c.GetCount(), &c, &g);
    EXPECT_EQ(empty.Count(), 0);
    WColHLIterator noHighlighter("", c.GetCount(), &c, nullptr);
    EXPECT_EQ(noHighlighter.Count(), 0);

    // Not male: unknown sex included.
    g.SetConditions("-17:M");
    g.Recalculate();
    WColHLIterator notMale("", c.GetCount(), &c, &g);
    EXPECT_EQ(Items(notMale), (std::vector<std::int32_t>{2, 3, 5}));
    EXPECT_EQ(notMale.GetHighLighter(), &g);
}

TEST(HLListIterator, PumpsEvery250AndBlocksRebuilds) {
    WDefaultSettings settings;
    HLRegister::RegisterConditionClasses();
    WMemCollection c;
    for (int i = 1; i <= 500; ++i) c.AddPerson("P /X/", i % 2 ? 'M' : 'F');
    WHLGroup g(&c);
    g.SetConditions("+17:M");
    g.Recalculate();

    PumpGuard guard;
    std::vector<bool> evaluatedAtPump;
    std::vector<bool> fillingAtPump;
    WColHLIterator* self = nullptr;
    plat::hooks().processMessages = [&] {
        // Position 250's individual is tested only after the pump.
        evaluatedAtPump.push_back(g.IsEvaluated(250) || g.IsEvaluated(500));
        fillingAtPump.push_back(WColHLIterator::AnyFilling() && (!self || self->IsFilling()));
    };
    auto it = std::make_unique<WColHLIterator>("", c.GetCount(), &c, &g);
    self = it.get();
    EXPECT_EQ(evaluatedAtPump, (std::vector<bool>{false, true}));
    EXPECT_EQ(fillingAtPump, (std::vector<bool>{true, true}));
    EXPECT_FALSE(WColHLIterator::AnyFilling());
    EXPECT_EQ(it->Count(), 250);
    EXPECT_EQ(it->GetItem(1), 1);
    EXPECT_EQ(it->GetItem(250), 499);
}

} // namespace
