#pragma once
// Base of the individual and the family records: the record number.
#include <cstdint>

class WABSCollectionItem {
public:
    explicit WABSCollectionItem(std::int32_t recNo) : m_recNo(recNo) {}
    virtual ~WABSCollectionItem() = default;

    WABSCollectionItem(const WABSCollectionItem&) = delete;
    WABSCollectionItem& operator=(const WABSCollectionItem&) = delete;

    // 1-based record number within the open file.
    std::int32_t GetRecNo() const { return m_recNo; }

protected:
    std::int32_t m_recNo = 0;
};
