#pragma once
// An existing file mapped read-only; others may still read and write it.
#include <string>

#include "model/MMF.h"

class WMMFReadOnly : public WMMF {
public:
    explicit WMMFReadOnly(const std::string& fileName) : WMMF(fileName, fmOpenRead | fmShareDenyNone, 0) {}

    // First byte of the data and the byte after the last one.
    const char* Begin() const { return Memory(); }
    const char* End() const { return Memory() + GetSize(); }
};
