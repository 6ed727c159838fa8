#pragma once

#include "File.h"

#include <cstdio>
#include <memory>

namespace vimg {

// Stream over a C runtime FILE*. A stream given to the constructor is borrowed;
// one opened through Open() is owned and closed with the object.
class IOFile : public File {
public:
    explicit IOFile(FILE* fp = nullptr);
    ~IOFile() override;
    IOFile(const IOFile&) = delete;
    IOFile& operator=(const IOFile&) = delete;

    bool Open(const char* name, const char* mode);
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

private:
    static constexpr size_t kBufferSize = size_t{1} << 18;
    FILE* m_fp;
    std::unique_ptr<char[]> m_buffer; // stdio's buffer for a file this object opened
    bool m_closeFile;
};

} // namespace vimg
