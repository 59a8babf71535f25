#pragma once
// A small family that reaches every branch of the list columns, "today"
// fixed at 1 Jun 2026 and every setting at its default.
//
//   George Smith + Grace Brown (m. 1825)          Emilie Durand (no husband)
//     +- John Smith (Dr., Jr) + Mary Jones            +- Pierre Durand
//     |    +- Tom Smith (b. 1856, no death)
//     |    +- Ann Smith (christening and burial only)
//     +- Alice Smith
//   Nobody (no name, nothing else); Old Methuselah (lived 115 years);
//   Hundred Ten (lived 110 years).
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "support/MemCollection.h"

namespace coltest {

struct Family {
    WDefaultSettings settings;
    WFixedToday today{2026, 6, 1};
    WMemCollection c;
    std::int32_t george = 0, grace = 0, john = 0, alice = 0, mary = 0, tom = 0, ann = 0;
    std::int32_t pierre = 0, emilie = 0, nobody = 0, old = 0, hundredTen = 0;

    Family() {
        george = c.AddPerson("George /Smith/", 'M').Birth("1 JAN 1800", "York");
        grace = c.AddPerson("Grace /Brown/", 'F').Birth("1805");
        john = c.AddPerson("John /Smith/", 'M')
                   .Prefix("Dr.")
                   .Suffix("Jr")
                   .Birth("15 MAR 1830", "Boston, Mass")
                   .Christening("20 MAR 1830", "St Paul")
                   .Death("20 JUN 1890", "Salem")
                   .Burial("25 JUN 1890", "Old Hill")
                   .RefN("R-7")
                   .AFN("AFN1")
                   .Note("Farmer")
                   .Note("  and miller  ")
                   .Ordinance(7, "1 JAN 1900", "SLAKE")
                   .Ordinance(8, "2 FEB 1901", "LOGAN")
                   .Other("Occupation", "1850")
                   .Cite("p. 1")
                   .ChangeDate("5 MAY 2000");
        c.PersonData(john).createDate = "1 JAN 1999";
        alice = c.AddPerson("Alice /Smith/", 'F').Birth("1832");
        c.AddFamily(george, grace).Marriage("1825", "York").Child(john).Child(alice);
        mary = c.AddPerson("Mary /Jones/", 'F').Birth("ABT 1835");
        tom = c.AddPerson("Tom /Smith/", 'M').Birth("1856");
        ann = c.AddPerson("Ann /Smith/", 'F').Christening("1 JAN 1860", "Salem").Burial("1940");
        c.AddFamily(john, mary).Marriage("10 MAY 1855", "Boston").Sealing("3 MAR 1902", "MANTI").Child(tom).Child(ann);
        pierre = c.AddPerson("Pierre /Durand/", 'M').Birth("FROM 12 DEC 1850 TO 1860");
        emilie = c.AddPerson("\xC9milie /Durand/", 'F');
        c.AddFamily(0, emilie).Child(pierre);
        nobody = c.AddPerson("", 'U');
        old = c.AddPerson("Old /Methuselah/", 'M').Birth("1 JAN 1700").Death("1 JUN 1815");
        hundredTen = c.AddPerson("Hundred /Ten/", 'M').Birth("1 JAN 1700").Death("1 JUN 1810");
    }
};

} // namespace coltest
