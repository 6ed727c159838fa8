// One heap block of bytes held by an image (its bitmap, alpha plane or
// selection mask). The holder frees what it owns when it is reset, replaced or
// destroyed; a borrowed block (a ghost image showing another image's memory)
// is never freed. Moving hands the block over without copying a byte.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vimg {

class MemoryBlock {
public:
    MemoryBlock() = default;
    ~MemoryBlock() { Reset(); }
    MemoryBlock(MemoryBlock&& other) noexcept;
    MemoryBlock& operator=(MemoryBlock&& other) noexcept;
    MemoryBlock(const MemoryBlock&) = delete;
    MemoryBlock& operator=(const MemoryBlock&) = delete;

    // Replaces the block by `size` zeroed bytes; false (and empty) when the
    // memory cannot be had. Blocks of several megabytes ask for huge pages.
    bool Allocate(size_t size);
    // Replaces the block by a copy of `size` bytes at `source`.
    bool CopyFrom(const void* source, size_t size);
    // Shows `other`'s memory without owning it.
    void Borrow(const MemoryBlock& other);
    // Frees an owned block (a borrowed one is only let go) and leaves the holder empty.
    void Reset();
    // Asks for ordinary pages over a freshly allocated block of `size` bytes, for
    // a block that is filled a little in many places at once, where huge pages
    // would make all of it resident at the first touch.
    void PreferSmallPages(size_t size);
    // Hands the whole pages inside [offset, offset + length) of an owned block
    // back to the system; they read as zeros afterwards. For content that is no
    // longer needed, in a block about to be dropped.
    void Discard(size_t offset, size_t length);

    uint8_t* get() const { return m_data; }
    explicit operator bool() const { return m_data != nullptr; }

private:
    uint8_t* m_data = nullptr;
    bool m_owned = false;
};

} // namespace vimg
