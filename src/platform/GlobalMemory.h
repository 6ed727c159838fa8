// A movable memory block: the container in which a packed device-independent
// bitmap travels to and from the clipboard. Its bytes are reached between
// Lock and Unlock, the way the clipboard code hands such blocks around.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class CGlobalMemory {
public:
    // A zeroed block of `bytes`; null when that much memory cannot be had.
    static std::unique_ptr<CGlobalMemory> Alloc(size_t bytes);

    size_t Size() const { return m_bytes.size(); }
    // The first byte; null for an empty block. Every Lock needs an Unlock.
    uint8_t* Lock();
    // False when the block was not locked.
    bool Unlock();
    bool IsLocked() const { return m_locks > 0; }

private:
    CGlobalMemory() = default;

    std::vector<uint8_t> m_bytes;
    int m_locks = 0;
};

// Non-owning handle, as the clipboard and the image functions pass it around.
using HGLOBAL = CGlobalMemory*;
