#pragma once

#include "File.h"

namespace vimg {

// Growable memory stream. Wraps caller memory, or owns a buffer that grows in
// steps of 4096 bytes. A failed growth keeps the old buffer and fails the write.
class MemFile : public File {
public:
    explicit MemFile(uint8_t* buffer = nullptr, uint32_t size = 0);
    ~MemFile() override;
    MemFile(const MemFile&) = delete;
    MemFile& operator=(const MemFile&) = delete;

    bool Open();
    // With `detach` the caller takes ownership of the buffer (release it with Image::FreeMemory).
    uint8_t* GetBuffer(bool detach = true);
    uint32_t Capacity() const { return m_edge; }
    // Grows the buffer ahead of writes whose total size is known; false when it cannot.
    bool Reserve(uint64_t bytes) { return m_buffer && Alloc(bytes); }

    bool Close() override;
    size_t Read(void* buffer, size_t size, size_t count) override;
    size_t Write(const void* buffer, size_t size, size_t count) override;
    bool Seek(int32_t offset, int origin) override;
    int32_t Tell() override;
    int32_t Size() override;
    bool Flush() override;
    bool Eof() override;
    int32_t Error() override;
    bool PutC(uint8_t c) override;
    int32_t GetC() override;

    // Upper bound on the buffer size; growth beyond it fails. Tests lower it to
    // exercise the failure path.
    static void SetMaxCapacity(uint32_t bytes);

private:
    bool Alloc(uint64_t needed);

    uint8_t* m_buffer;
    uint32_t m_size;
    bool m_freeOnClose;
    uint32_t m_position;
    uint32_t m_edge;
};

} // namespace vimg
