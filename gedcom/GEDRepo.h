#pragma once
// A REPO record.
#include <cstdint>
#include <string>

#include "model/ABSRepo.h"

class WGEDCollection;
class WGEDTextMMF;

class WGEDRepo : public WABSRepo {
public:
    WGEDRepo(const WGEDCollection& collection, std::uint32_t offset, const WGEDTextMMF& file);

    // The NAME text with its continuation lines joined by a lone CR.
    std::string GetName() const override;
    std::unique_ptr<WABSAddress> GetAddress() const override;
    std::unique_ptr<WABSNote> GetNote() const override { return nullptr; }
    std::string GetRecordText() const override;

private:
    const WGEDCollection& m_collection;
    const WGEDTextMMF& m_file;
    const char* m_record = nullptr;
    const char* m_name = nullptr;
    const char* m_addr = nullptr;
    const char* m_note = nullptr;
    mutable bool m_nameDone = false;
    mutable std::string m_nameText;
};
