#pragma once
// Large tables read in random order (block sorting, the inverse walk).
#include <cstddef>
#include <memory>

namespace payload {

// Raw memory of the given size, not cleared: the users write every entry before
// they read it. Where the system offers huge pages they are asked for, so
// that random reads miss the TLB far less.
class TBigTable {
public:
    TBigTable() = default;
    explicit TBigTable(std::size_t bytes);
    void* data() const { return m_p.get(); }
    std::size_t bytes() const { return m_bytes; }

private:
    struct Free {
        void operator()(void* p) const;
    };
    std::unique_ptr<void, Free> m_p;
    std::size_t m_bytes = 0;
};

} // namespace payload
