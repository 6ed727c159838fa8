#include "MemoryBlock.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#ifdef __linux__
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace vimg {

namespace {

#ifdef __linux__
constexpr uintptr_t kHugePage = 2u << 20;

// Applies `advice` to the whole `unit`-aligned pieces inside [block, block + size).
void AdviseAligned(void* block, size_t size, uintptr_t unit, int advice) {
    if (!block) return;
    const auto start = (reinterpret_cast<uintptr_t>(block) + unit - 1) & ~(unit - 1);
    const auto end = (reinterpret_cast<uintptr_t>(block) + size) & ~(unit - 1);
    if (end > start) madvise(reinterpret_cast<void*>(start), end - start, advice);
}
#endif

// Large pictures are touched page by page as they are filled; on Linux asking for
// huge pages over the block cuts those page faults by a factor of 512.
void AdviseLargePages(void* block, size_t size) {
#ifdef __linux__
    if (size >= 2 * kHugePage) AdviseAligned(block, size, kHugePage, MADV_HUGEPAGE);
#else
    (void)block;
    (void)size;
#endif
}

} // namespace

MemoryBlock::MemoryBlock(MemoryBlock&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_owned(std::exchange(other.m_owned, false)) {}

MemoryBlock& MemoryBlock::operator=(MemoryBlock&& other) noexcept {
    if (this != &other) {
        Reset();
        m_data = std::exchange(other.m_data, nullptr);
        m_owned = std::exchange(other.m_owned, false);
    }
    return *this;
}

bool MemoryBlock::Allocate(size_t size) {
    Reset();
    // Zeroed memory: short files and run-length skips must not expose stale heap data.
    m_data = static_cast<uint8_t*>(std::calloc(1, size ? size : 1));
    m_owned = m_data != nullptr;
    AdviseLargePages(m_data, size);
    return m_data != nullptr;
}

bool MemoryBlock::CopyFrom(const void* source, size_t size) {
    Reset();
    m_data = static_cast<uint8_t*>(std::malloc(size ? size : 1));
    if (!m_data) return false;
    m_owned = true;
    if (size) std::memcpy(m_data, source, size);
    return true;
}

void MemoryBlock::Borrow(const MemoryBlock& other) {
    Reset();
    m_data = other.m_data;
    m_owned = false;
}

bool MemoryBlock::Resize(size_t kept, size_t size) {
    if (!m_owned) return false;
    auto* moved = static_cast<uint8_t*>(std::calloc(1, size ? size : 1));
    if (!moved) return false;
    AdviseLargePages(moved, size);
    kept = std::min(kept, size);
    constexpr size_t kPiece = size_t{1} << 20;
    for (size_t at = 0; at < kept; at += kPiece) {
        const size_t length = std::min(kPiece, kept - at);
        std::memcpy(moved + at, m_data + at, length);
#ifdef __linux__
        static const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
        AdviseAligned(m_data + at, length, page, MADV_DONTNEED);
#endif
    }
    std::free(m_data);
    m_data = moved;
    return true;
}

void MemoryBlock::Reset() {
    if (m_owned) std::free(m_data);
    m_data = nullptr;
    m_owned = false;
}

} // namespace vimg
