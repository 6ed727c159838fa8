#include "MemFile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace vimg {

namespace {
// Positions are signed 32-bit in the stream interface.
uint32_t g_maxCapacity = static_cast<uint32_t>(std::numeric_limits<int32_t>::max());
} // namespace

void MemFile::SetMaxCapacity(uint32_t bytes) {
    g_maxCapacity = std::min<uint32_t>(bytes, std::numeric_limits<int32_t>::max());
}

MemFile::MemFile(uint8_t* buffer, uint32_t size)
    : m_buffer(buffer), m_size(size), m_freeOnClose(buffer == nullptr), m_position(0), m_edge(size) {}

MemFile::~MemFile() { Close(); }

bool MemFile::Open() {
    if (m_buffer) return false;
    m_buffer = static_cast<uint8_t*>(std::malloc(1));
    if (!m_buffer) return false;
    m_size = m_position = m_edge = 0;
    m_freeOnClose = true;
    return true;
}

uint8_t* MemFile::GetBuffer(bool detach) {
    if (detach) m_freeOnClose = false;
    return m_buffer;
}

bool MemFile::Close() {
    if (m_buffer && m_freeOnClose) {
        std::free(m_buffer);
        m_buffer = nullptr;
        m_edge = 0;
    }
    m_size = 0;
    return true;
}

size_t MemFile::Read(void* buffer, size_t size, size_t count) {
    if (!buffer || !m_buffer || size == 0 || count == 0) return 0;
    if (m_position >= m_size) return 0;
    const uint64_t wanted = static_cast<uint64_t>(size) * count;
    const uint64_t available = m_size - m_position;
    const uint64_t n = std::min(wanted, available);
    std::memcpy(buffer, m_buffer + m_position, static_cast<size_t>(n));
    m_position += static_cast<uint32_t>(n);
    return static_cast<size_t>(n / size);
}

size_t MemFile::Write(const void* buffer, size_t size, size_t count) {
    if (!m_buffer || !buffer || size == 0 || count == 0) return 0;
    const uint64_t length = static_cast<uint64_t>(size) * count;
    const uint64_t end = static_cast<uint64_t>(m_position) + length;
    if (!Alloc(end)) return 0;
    if (m_position > m_size) std::memset(m_buffer + m_size, 0, m_position - m_size);
    std::memcpy(m_buffer + m_position, buffer, static_cast<size_t>(length));
    m_position = static_cast<uint32_t>(end);
    if (m_position > m_size) m_size = m_position;
    return count;
}

bool MemFile::PutC(uint8_t c) {
    if (!m_buffer) return false;
    if (!Alloc(static_cast<uint64_t>(m_position) + 1)) return false;
    if (m_position > m_size) std::memset(m_buffer + m_size, 0, m_position - m_size);
    m_buffer[m_position++] = c;
    if (m_position > m_size) m_size = m_position;
    return true;
}

int32_t MemFile::GetC() {
    if (Eof()) return -1;
    return m_buffer[m_position++];
}

bool MemFile::Seek(int32_t offset, int origin) {
    int64_t base;
    switch (origin) {
    case 0: base = 0; break;
    case 1: base = m_position; break;
    case 2: base = m_size; break;
    default: return false;
    }
    int64_t pos = base + offset;
    if (pos < 0) pos = 0;
    pos = std::min<int64_t>(pos, std::numeric_limits<int32_t>::max());
    m_position = static_cast<uint32_t>(pos);
    return true;
}

int32_t MemFile::Tell() { return m_buffer ? static_cast<int32_t>(m_position) : -1; }

int32_t MemFile::Size() { return m_buffer ? static_cast<int32_t>(m_size) : -1; }

bool MemFile::Flush() { return m_buffer != nullptr; }

bool MemFile::Eof() { return !m_buffer || m_position >= m_size; }

int32_t MemFile::Error() {
    if (!m_buffer) return -1;
    return m_position > m_size ? 1 : 0;
}

bool MemFile::Alloc(uint64_t needed) {
    if (needed <= m_edge) return true;
    const uint64_t newEdge = (needed / 4096) * 4096 + 4096;
    if (newEdge > g_maxCapacity) return false;
    uint8_t* grown;
    if (m_freeOnClose) {
        grown = static_cast<uint8_t*>(std::realloc(m_buffer, static_cast<size_t>(newEdge)));
    } else {
        // Caller memory is never reallocated: move its content into a buffer of our own.
        grown = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(newEdge)));
        if (grown && m_buffer) std::memcpy(grown, m_buffer, m_size);
    }
    if (!grown) return false; // the old buffer stays valid and owned as before
    m_buffer = grown;
    m_edge = static_cast<uint32_t>(newEdge);
    m_freeOnClose = true;
    return true;
}

} // namespace vimg
