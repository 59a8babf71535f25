// Conditions on marriages, children, surnames against relatives and counts:
// several marriages, half-siblings of the same name, couples of the same
// surname, unknown ages, and results that must not depend on which
// individual the views happen to ask first.
#include <gtest/gtest.h>

#include "CondFixture.h"

namespace {

using condtest::AllBut;
using condtest::Describe;
using condtest::Highlighted;
using condtest::Set;

class FamilyConds : public ::testing::Test {
protected:
    FamilyConds() {
        henry = c.AddPerson("Henry /Tudor/", 'M').Birth("1 JAN 1900").Death("1 JAN 1960");
        anne = c.AddPerson("Anne /Boleyn/", 'F');
        jane = c.AddPerson("Jane /Seymour/", 'F').Birth("1905");
        cat = c.AddPerson("Cat /Parr/", 'F').Birth("1910");
        mary = c.AddPerson("Mary /Tudor/", 'F').Birth("1930");
        john1 = c.AddPerson("John /Tudor/", 'M').Birth("1932");
        john2 = c.AddPerson("John /Tudor/", 'M').Birth("1935"); // half-brother of the same name
        edward = c.AddPerson("Edward /Tudor/", 'M').Birth("1937");
        bob = c.AddPerson("Bob /Single/", 'M');
        tom = c.AddPerson("Tom /Twice/", 'M');
        ann1 = c.AddPerson("Ann /Lee/", 'F');
        ann2 = c.AddPerson("ANN /Lee/", 'F');
        pa = c.AddPerson("Pa /Smith/", 'M');
        ma = c.AddPerson("Ma /Boleyn/", 'F');
        kid = c.AddPerson("Kid /Boleyn/", 'F').Birth("1 JAN 2000");
        odd = c.AddPerson("Odd /Jones/", 'M').Birth("1 JAN 2010");
        cain = c.AddPerson("Cain /Adams/", 'M');
        awan = c.AddPerson("Awan /adams/", 'F');
        seth = c.AddPerson("Seth /Adams/", 'M');
        eve = c.AddPerson("Eve /Brown/", 'F');
        ben = c.AddPerson("Ben /BROWN/", 'M');

        c.AddFamily(henry, anne).Child(mary).Child(john1);
        c.AddFamily(henry, jane).Child(john2).Child(edward);
        c.AddFamily(henry, cat);
        c.AddFamily(bob, 0);
        c.AddFamily(tom, ann1);
        c.AddFamily(tom, ann2);
        c.AddFamily(pa, ma).Child(kid).Child(odd);
        c.AddFamily(cain, awan);
        c.AddFamily(seth, eve);
        c.AddFamily(ben, eve);
    }

    condtest::PlainNames names;
    WFixedToday today{2020, 6, 15};
    WMemCollection c;
    std::int32_t henry, anne, jane, cat, mary, john1, john2, edward, bob, tom, ann1, ann2, pa, ma, kid, odd, cain, awan,
        seth, eve, ben;
};

TEST_F(FamilyConds, MarriagesWithoutSpouseOrWithSpousesOfOneName) {
    EXPECT_EQ(Highlighted(c, "+36"), (Set{bob}));
    EXPECT_EQ(Highlighted(c, "+37"), (Set{tom}));
    EXPECT_EQ(Describe(c, "+36"), "married with no spouse entered");
    EXPECT_EQ(Describe(c, "-37"), "married with spouses with different names");
}

TEST_F(FamilyConds, ChildrenOfOneNameMarkTheOtherParentsWhateverTheOrder) {
    // Henry's two Johns have different mothers: both mothers are marked,
    // though neither has two children of one name herself.
    const Set expected{henry, anne, jane};
    EXPECT_EQ(Highlighted(c, "+38"), expected);
    EXPECT_EQ(Highlighted(c, "+38", true), expected);
    EXPECT_EQ(Highlighted(c, "-38", true), AllBut(c, expected));
    EXPECT_EQ(Describe(c, "+38"), "with children having the same name");
}

TEST_F(FamilyConds, SurnamesAgainstFatherMotherAndSpouse) {
    EXPECT_EQ(Highlighted(c, "+53"), (Set{kid, odd}));
    EXPECT_EQ(Highlighted(c, "+54"), (Set{odd}));
    EXPECT_EQ(Highlighted(c, "+55"), (Set{kid}));
    EXPECT_EQ(Describe(c, "+53"), "with surname different than father");
    EXPECT_EQ(Describe(c, "-54"), "with surname not different than parents");
    EXPECT_EQ(Describe(c, "+55"), "with surname same as mother");
}

TEST_F(FamilyConds, CoupleOfOneSurnameIsTheSameInEitherOrder) {
    // Eve's first husband Seth has another surname, her second one hers:
    // asking Seth first must not settle Eve.
    const Set expected{cain, awan, eve, ben};
    EXPECT_EQ(Highlighted(c, "+56"), expected);
    EXPECT_EQ(Highlighted(c, "+56", true), expected);
    EXPECT_EQ(Highlighted(c, "-56"), AllBut(c, expected));
    EXPECT_EQ(Highlighted(c, "-56", true), AllBut(c, expected));
    EXPECT_EQ(Describe(c, "-56"), "with surname not same as spouse");
}

TEST_F(FamilyConds, UnknownAgesNeverCompare) {
    // Known ages: Henry 60, Jane 115, Cat 110, Mary 90, the Johns 88 and 85,
    // Edward 83, Kid 20, Odd 10; Anne, Bob and the rest have none.
    const Set adults{henry, jane, cat, mary, john1, john2, edward, kid};
    EXPECT_EQ(Highlighted(c, "+44:518"), adults);
    EXPECT_EQ(Highlighted(c, "-44:518"), AllBut(c, adults));
    EXPECT_TRUE(Highlighted(c, "-44:518").count(anne)); // no birth date: unknown age
    EXPECT_EQ(Highlighted(c, "+44:210"), Set{});        // age < 10
    EXPECT_EQ(Highlighted(c, "+44:310"), (Set{odd}));   // age <= 10
    EXPECT_EQ(Highlighted(c, "+44:160"), (Set{henry}));
    EXPECT_EQ(Highlighted(c, "+44:9"), Set{}); // operator 9: never
    EXPECT_EQ(Describe(c, "+44:518"), "with age >= 18");
    EXPECT_EQ(Describe(c, "-44:518"), "with age < 18");
    EXPECT_EQ(Describe(c, "+44:9"), "with age-1");
    // Has Age under the limit.
    EXPECT_EQ(Highlighted(c, "+52:100"), (Set{henry, mary, john1, john2, edward, kid, odd}));
    EXPECT_EQ(Describe(c, "+52:"), "with an age (limit = 110)");
}

TEST_F(FamilyConds, CountsOfRelatives) {
    EXPECT_EQ(Highlighted(c, "+45:13"), (Set{henry}));
    EXPECT_EQ(Highlighted(c, "+45:12"), (Set{tom, eve}));
    EXPECT_EQ(Highlighted(c, "+47:14"), (Set{henry}));
    EXPECT_EQ(Highlighted(c, "+48:13"), (Set{henry}));
    EXPECT_EQ(Highlighted(c, "+49:11"), (Set{henry, anne, pa, ma}));
    EXPECT_EQ(Highlighted(c, "+46:12"), (Set{mary, john1, john2, edward, kid, odd}));
    EXPECT_EQ(Highlighted(c, "+78:51"), (Set{mary, john1, john2, edward, kid, odd}));
    EXPECT_EQ(Highlighted(c, "+78:41"), Set{});
    EXPECT_EQ(Describe(c, "+47:14"), "with # children = 4");
    EXPECT_EQ(Describe(c, "-78:41"), "with # families <= 1");
    EXPECT_EQ(Describe(c, "-78:51"), "with # families < 1");
}

TEST(FamilyCondsLarge, NoFixedLimitOnSpousesOrChildren) {
    condtest::PlainNames names;
    WMemCollection c;
    const auto parent = c.AddPerson("Big /Family/", 'M');
    const auto wife = c.AddPerson("Wife /Family/", 'F');
    auto fam = c.AddFamily(parent, wife);
    for (int k = 0; k < 600; ++k) fam.Child(c.AddPerson("Child" + std::to_string(k) + " /Family/", 'M'));
    // Only the first and the 600th child share a name.
    c.Person(c.GetIndividualCount()).Data().name->given = "Child0";
    const auto groom = c.AddPerson("Groom /Many/", 'M');
    for (int k = 0; k < 520; ++k) c.AddFamily(groom, c.AddPerson("Bride" + std::to_string(k) + " /X/", 'F'));
    c.Person(c.GetIndividualCount()).Data().name->given = "Bride0";
    EXPECT_EQ(Highlighted(c, "+38"), (Set{parent, wife}));
    EXPECT_EQ(Highlighted(c, "+37"), (Set{groom}));
}

} // namespace
