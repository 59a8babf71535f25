#include "reports/IntFIFO.h"

#include "model/IntArray.h"

WIntFIFO::WIntFIFO() : Values(std::make_unique<WIntArray>("", 0)), Links(std::make_unique<WIntArray>("", 0)) {}

WIntFIFO::~WIntFIFO() = default;

std::int32_t WIntFIFO::SlotCount() const { return Links->Count(); }

void WIntFIFO::Push(std::int32_t AValue) {
    std::int32_t slot;
    if (!FFree.empty()) {
        slot = FFree.top();
        FFree.pop();
        Values->SetValue(slot, AValue);
        Links->SetValue(slot, kLast);
    } else {
        Values->Add(AValue);
        slot = Links->Add(kLast);
    }
    if (FTail > 0)
        Links->SetValue(FTail, slot);
    else
        FHead = slot;
    FTail = slot;
    ++FCount;
}

void WIntFIFO::freeSlot(std::int32_t slot) {
    Links->SetValue(slot, 0);
    FFree.push(slot);
}

bool WIntFIFO::Pop(std::int32_t& AValue) {
    if (FHead == 0) return false;
    const std::int32_t slot = FHead;
    AValue = Values->GetValue(slot);
    const std::int32_t next = Links->GetValue(slot);
    freeSlot(slot);
    if (next == kLast || next <= 0) {
        FHead = FTail = 0;
    } else {
        FHead = next;
    }
    --FCount;
    return true;
}

void WIntFIFO::Clear() {
    FCount = FHead = FTail = 0;
    FFree = {};
    Links->Fill(0);
    std::vector<std::int32_t> all;
    all.reserve(size_t(Links->Count()));
    for (std::int32_t i = 1; i <= Links->Count(); ++i) all.push_back(i);
    FFree = decltype(FFree)(std::greater<>(), std::move(all));
}
