#pragma once

#include <cstddef>
#include <cstdint>

namespace vimg {

// Abstract byte stream every codec reads from and writes to.
class File {
public:
    virtual ~File() = default;
    virtual bool Close() = 0;
    // Reads up to `count` items of `size` bytes; returns the number of whole items read.
    virtual size_t Read(void* buffer, size_t size, size_t count) = 0;
    virtual size_t Write(const void* buffer, size_t size, size_t count) = 0;
    // origin 0 = from start, 1 = from current position, 2 = from end.
    virtual bool Seek(int32_t offset, int origin) = 0;
    virtual int32_t Tell() = 0;
    virtual int32_t Size() = 0;
    virtual bool Flush() = 0;
    virtual bool Eof() = 0;
    virtual int32_t Error() = 0;
    virtual bool PutC(uint8_t c) { return Write(&c, 1, 1) == 1; }
    // Next byte 0..255, or -1 at the end.
    virtual int32_t GetC() = 0;
};

} // namespace vimg
