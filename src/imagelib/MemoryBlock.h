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
    // Moves an owned block into a new one of `size` bytes, keeping its first
    // `kept` bytes (the rest is zeroed). A large block is moved piece by piece,
    // each piece's pages handed back to the system once copied, so the process
    // never holds both blocks whole. False, and the block unchanged, when the
    // memory cannot be had or the block is borrowed.
    bool Resize(size_t kept, size_t size);

    uint8_t* get() const { return m_data; }
    explicit operator bool() const { return m_data != nullptr; }

private:
    uint8_t* m_data = nullptr;
    bool m_owned = false;
};

} // namespace vimg
