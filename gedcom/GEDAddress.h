#pragma once
// An address: the ADDR line with its continuation and the address lines around it.
#include <array>
#include <string>

#include "model/ABSAddress.h"

class WGEDCollection;
class WGEDTextMMF;

class WGEDAddress : public WABSAddress {
public:
    WGEDAddress(const WGEDCollection& collection, const char* addrLine, const WGEDTextMMF& file);

    std::string GetAddress() const override { return field(0); }
    std::string GetAddress1() const override { return field(1); }
    std::string GetAddress2() const override { return field(2); }
    std::string GetCity() const override { return field(3); }
    std::string GetState() const override { return field(4); }
    std::string GetPostalCode() const override { return field(5); }
    std::string GetCountry() const override { return field(6); }
    std::string GetPhone() const override { return field(7); }

private:
    std::string field(int i) const;

    const WGEDCollection& m_collection;
    const WGEDTextMMF& m_file;
    std::array<const char*, 8> m_fields{};
    mutable std::array<std::string, 8> m_texts;
    mutable std::array<bool, 8> m_done{};
};
