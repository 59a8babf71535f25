#pragma once
// First-in-first-out queue of signed 32-bit integers, kept as a linked list
// of slots in two 1-based arrays. Freed slots are reused, lowest first.
#include <cstdint>
#include <memory>
#include <queue>
#include <vector>

class WIntArray;

class WIntFIFO {
public:
    static constexpr std::int32_t kLast = 2147483647; // link of the last element

    WIntFIFO();
    ~WIntFIFO();
    WIntFIFO(const WIntFIFO&) = delete;
    WIntFIFO& operator=(const WIntFIFO&) = delete;

    void Push(std::int32_t AValue);
    bool Pop(std::int32_t& AValue);
    void Clear();

    std::int32_t Count() const { return FCount; }
    std::int32_t Head() const { return FHead; }
    std::int32_t Tail() const { return FTail; }
    // Slots held by the arrays (used and free).
    std::int32_t SlotCount() const;

private:
    void freeSlot(std::int32_t slot);

    std::unique_ptr<WIntArray> Values;
    std::unique_ptr<WIntArray> Links;
    std::int32_t FCount = 0, FHead = 0, FTail = 0;
    // Free slots, smallest on top: a push takes the first free slot without
    // scanning the whole link array (long cascades queue many persons).
    std::priority_queue<std::int32_t, std::vector<std::int32_t>, std::greater<>> FFree;
};
