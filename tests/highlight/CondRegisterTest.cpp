// Every condition code creates the class the condition table names for it,
// with its code, and decides each individual once per run.
#include <functional>
#include <gtest/gtest.h>
#include <map>

#include "CondFixture.h"
#include "highlight/HLDate.h"
#include "highlight/HLFactory.h"
#include "highlight/HLFamily.h"
#include "highlight/HLLDS.h"
#include "highlight/HLSimple.h"
#include "highlight/HLStr.h"
#include "highlight/HLTable.h"
#include "highlight/HLTree.h"

namespace {

bool isClass(WABSHighLighter* h, const std::string& name) {
    static const std::map<std::string, std::function<bool(WABSHighLighter*)>> casts = {
        {"WHLNoDate", [](WABSHighLighter* p) { return dynamic_cast<WHLNoDate*>(p) != nullptr; }},
        {"WHLNoPlace", [](WABSHighLighter* p) { return dynamic_cast<WHLNoPlace*>(p) != nullptr; }},
        {"WHLNoSurname", [](WABSHighLighter* p) { return dynamic_cast<WHLNoSurname*>(p) != nullptr; }},
        {"WHLNoGivenName", [](WABSHighLighter* p) { return dynamic_cast<WHLNoGivenName*>(p) != nullptr; }},
        {"WHLNoFather", [](WABSHighLighter* p) { return dynamic_cast<WHLNoFather*>(p) != nullptr; }},
        {"WHLNoMother", [](WABSHighLighter* p) { return dynamic_cast<WHLNoMother*>(p) != nullptr; }},
        {"WHLSex", [](WABSHighLighter* p) { return dynamic_cast<WHLSex*>(p) != nullptr; }},
        {"WHLHas", [](WABSHighLighter* p) { return dynamic_cast<WHLHas*>(p) != nullptr; }},
        {"WHLStr", [](WABSHighLighter* p) { return dynamic_cast<WHLStr*>(p) != nullptr; }},
        {"WHLAFN", [](WABSHighLighter* p) { return dynamic_cast<WHLAFN*>(p) != nullptr; }},
        {"WHLAncestor",
         [](WABSHighLighter* p) { return dynamic_cast<WHLAncestor*>(p) && !dynamic_cast<WHLDescendants*>(p); }},
        {"WHLDescendants", [](WABSHighLighter* p) { return dynamic_cast<WHLDescendants*>(p) != nullptr; }},
        {"WHLRelation", [](WABSHighLighter* p) { return dynamic_cast<WHLRelation*>(p) != nullptr; }},
        {"WHLHasLDS", [](WABSHighLighter* p) { return dynamic_cast<WHLHasLDS*>(p) != nullptr; }},
        {"WHLLDS", [](WABSHighLighter* p) { return dynamic_cast<WHLLDS*>(p) != nullptr; }},
        {"WHLMarriedNoSpouse", [](WABSHighLighter* p) { return dynamic_cast<WHLMarriedNoSpouse*>(p) != nullptr; }},
        {"WHLMarriedSameName", [](WABSHighLighter* p) { return dynamic_cast<WHLMarriedSameName*>(p) != nullptr; }},
        {"WHLChildSameName", [](WABSHighLighter* p) { return dynamic_cast<WHLChildSameName*>(p) != nullptr; }},
        {"WHLDate", [](WABSHighLighter* p) { return dynamic_cast<WHLDate*>(p) != nullptr; }},
        {"WHLInt", [](WABSHighLighter* p) { return dynamic_cast<WHLInt*>(p) != nullptr; }},
        {"WHLWarning", [](WABSHighLighter* p) { return dynamic_cast<WHLWarning*>(p) != nullptr; }},
        {"WHLRelationIs", [](WABSHighLighter* p) { return dynamic_cast<WHLRelationIs*>(p) != nullptr; }},
        {"WHLALive", [](WABSHighLighter* p) { return dynamic_cast<WHLALive*>(p) != nullptr; }},
        {"WHLHasSource", [](WABSHighLighter* p) { return dynamic_cast<WHLHasSource*>(p) != nullptr; }},
        {"WHLHasNote", [](WABSHighLighter* p) { return dynamic_cast<WHLHasNote*>(p) != nullptr; }},
        {"WHLLDSDate", [](WABSHighLighter* p) { return dynamic_cast<WHLLDSDate*>(p) != nullptr; }},
        {"WHLPaths", [](WABSHighLighter* p) { return dynamic_cast<WHLPaths*>(p) != nullptr; }},
    };
    auto it = casts.find(name);
    return it != casts.end() && it->second(h);
}

// A collection that counts how often each individual record is made.
class CountingCollection : public WMemCollection {
public:
    std::map<std::int32_t, int> made;

protected:
    std::unique_ptr<WABSIndividual> MakeIndividual(std::int32_t n) override {
        ++made[n];
        return WMemCollection::MakeIndividual(n);
    }
};

TEST(CondRegister, EveryCodeCreatesTheClassOfTheTable) {
    condtest::PlainNames names;
    WMemCollection c;
    c.AddPerson("A /B/", 'M');
    HLRegister::RegisterConditionClasses();
    int created = 0;
    for (int code = HLConditions::kFirstCode; code <= HLConditions::kLastCode; ++code) {
        const HLConditions::ConditionDef* def = HLConditions::GetDef(code);
        ASSERT_NE(def, nullptr) << code;
        std::unique_ptr<WABSHighLighter> h = HLFactory::Create(code, &c);
        if (std::string(def->className).empty()) {
            EXPECT_EQ(h, nullptr) << code;
            continue;
        }
        ASSERT_NE(h, nullptr) << code;
        EXPECT_TRUE(isClass(h.get(), def->className)) << code << " " << def->className;
        EXPECT_EQ(h->GetConditionCode(), code);
        EXPECT_EQ(h->Count(), 1);
        ++created;
    }
    EXPECT_EQ(created, 111); // 2..113 without 101
    EXPECT_EQ(HLFactory::Create(101, &c), nullptr);
    EXPECT_EQ(HLFactory::Create(1, &c), nullptr);
}

TEST(CondRegister, LazyConditionsDecideEachIndividualOncePerRun) {
    condtest::PlainNames names;
    CountingCollection c;
    for (int i = 0; i < 5; ++i) c.AddPerson("P /Q/", i % 2 ? 'F' : 'M').Birth("1900");
    HLRegister::RegisterConditionClasses();
    WHLGroup g(&c);
    g.SetConditions("+17:F;A;+2");
    g.Recalculate();
    for (int round = 0; round < 3; ++round)
        for (std::int32_t i = 1; i <= 5; ++i) g.IsHighlighted(i);
    for (std::int32_t i = 1; i <= 5; ++i) EXPECT_LE(c.made[i], 2) << i; // once for the sex, at most once for the date
    EXPECT_EQ(c.made[1], 1);                                            // a man never reaches the second condition
}

} // namespace
