#pragma once
// The submitter record that the header names.
#include <cstdint>
#include <string>
#include <vector>

#include "model/ABSSubmitter.h"

class WGEDCollection;
class WGEDTextMMF;

class WGEDSubmitter : public WABSSubmitter {
public:
    WGEDSubmitter(const WGEDCollection& collection, const WGEDTextMMF& file, const char* recordLine);

    std::string GetName() const override;
    std::string GetAddressLine1() const override { return addressLine(0); }
    std::string GetAddressLine2() const override { return addressLine(1); }
    std::string GetAddressLine3() const override { return addressLine(2); }
    std::string GetCountry() const override;
    std::string GetPhone() const override;
    // The _EMAIL line, else the EMAIL line.
    std::string GetEmail() const override;
    std::string GetRecordText() const override;

private:
    // Value of the first line of the record with the tag, converted.
    std::string lookup(std::uint32_t tag) const;
    std::string addressLine(std::size_t i) const;

    const WGEDCollection& m_collection;
    const WGEDTextMMF& m_file;
    const char* m_record;
    mutable bool m_addressRead = false;
    mutable std::vector<std::string> m_address;
};
