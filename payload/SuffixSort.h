#pragma once
// Suffix array of a block, for the packer's block sort.
#include <cstdint>

namespace payload {

// suffixArray[0..n-1] receives the start positions of text's suffixes in
// increasing order (a suffix that is a prefix of another comes first).
void suffixSort(const std::uint8_t* text, std::int32_t* suffixArray, std::uint32_t n);

} // namespace payload
