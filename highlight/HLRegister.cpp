#include "highlight/HLRegister.h"

#include <memory>

#include "highlight/HLDate.h"
#include "highlight/HLFactory.h"
#include "highlight/HLFamily.h"
#include "highlight/HLLDS.h"
#include "highlight/HLSimple.h"
#include "highlight/HLStr.h"
#include "highlight/HLTree.h"

namespace HLRegister {

namespace {

// A creator for a class serving several codes.
template <class T>
HLFactory::Creator coded() {
    return [](int code, WABSCollection* c) -> std::unique_ptr<WABSHighLighter> { return std::make_unique<T>(c, code); };
}

// A creator for a class of one code.
template <class T>
HLFactory::Creator single() {
    return [](int, WABSCollection* c) -> std::unique_ptr<WABSHighLighter> { return std::make_unique<T>(c); };
}

void add(std::initializer_list<int> codes, const HLFactory::Creator& creator) {
    for (int code : codes) HLFactory::Register(code, creator);
}

void addRange(int first, int last, const HLFactory::Creator& creator) {
    for (int code = first; code <= last; ++code) HLFactory::Register(code, creator);
}

} // namespace

void RegisterConditionClasses() {
    add({2, 4, 6, 8, 10}, coded<WHLNoDate>());
    add({3, 5, 7, 9, 11, 12}, coded<WHLNoPlace>());
    add({13}, single<WHLNoSurname>());
    add({14}, single<WHLNoGivenName>());
    add({15}, single<WHLNoFather>());
    add({16}, single<WHLNoMother>());
    add({17}, single<WHLSex>());
    add({18, 52}, coded<WHLHas>());
    add({20}, single<WHLAFN>());
    add({21}, single<WHLAncestor>());
    add({22}, single<WHLDescendants>());
    add({23}, single<WHLRelation>());
    add({31, 32, 33, 34}, coded<WHLHasLDS>());
    addRange(79, 86, coded<WHLHasLDS>());
    add({35}, single<WHLLDS>());
    add({36}, single<WHLMarriedNoSpouse>());
    add({37}, single<WHLMarriedSameName>());
    add({38}, single<WHLChildSameName>());
    addRange(39, 42, coded<WHLDate>());
    addRange(44, 51, coded<WHLInt>());
    add({78}, coded<WHLInt>());
    addRange(53, 56, coded<WHLWarning>());
    addRange(60, 64, coded<WHLRelationIs>());
    add({65}, single<WHLALive>());
    addRange(66, 71, coded<WHLHasSource>());
    add({99}, coded<WHLHasSource>());
    addRange(72, 77, coded<WHLHasNote>());
    add({100}, coded<WHLHasNote>());
    addRange(87, 90, coded<WHLLDSDate>());
    add({95, 96}, coded<WHLPaths>());
    // The text-match class serves thirty codes.
    add({19, 43, 57, 58, 59, 97, 98}, coded<WHLStr>());
    addRange(24, 30, coded<WHLStr>());
    addRange(91, 94, coded<WHLStr>());
    addRange(102, 113, coded<WHLStr>());
}

} // namespace HLRegister
