#pragma once
// Suffix array of a block, for the packer's block sort.
#include <cstddef>
#include <cstdint>

namespace payload {

// suffixArray[0..n-1] receives the start positions of text's suffixes in
// increasing order (a suffix that is a prefix of another comes first).
// Working space is taken from scratch first (n / 4 bytes cover ordinary
// text), the rest allocated.
void suffixSort(const std::uint8_t* text, std::int32_t* suffixArray, std::uint32_t n, std::uint8_t* scratch = nullptr,
                std::size_t scratchBytes = 0);

} // namespace payload
