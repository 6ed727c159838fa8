#include "GlobalMemory.h"

#include <new>

std::unique_ptr<CGlobalMemory> CGlobalMemory::Alloc(size_t bytes) {
    std::unique_ptr<CGlobalMemory> block(new (std::nothrow) CGlobalMemory);
    if (!block) return nullptr;
    try {
        block->m_bytes.resize(bytes);
    } catch (const std::bad_alloc&) {
        return nullptr;
    } catch (const std::length_error&) {
        return nullptr;
    }
    return block;
}

uint8_t* CGlobalMemory::Lock() {
    if (m_bytes.empty()) return nullptr;
    ++m_locks;
    return m_bytes.data();
}

bool CGlobalMemory::Unlock() {
    if (m_locks == 0) return false;
    --m_locks;
    return true;
}
