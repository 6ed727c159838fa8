#include "IOFile.h"

namespace vimg {

IOFile::IOFile(FILE* fp) : m_fp(fp), m_closeFile(fp == nullptr) {}

IOFile::~IOFile() { Close(); }

bool IOFile::Open(const char* name, const char* mode) {
    if (m_fp) return false;
    m_fp = std::fopen(name, mode);
    if (!m_fp) return false;
    // stdio's default block-sized buffer turns a picture's rows into thousands of small reads or writes.
    m_buffer = std::make_unique<char[]>(kBufferSize);
    std::setvbuf(m_fp, m_buffer.get(), _IOFBF, kBufferSize);
    m_closeFile = true;
    return true;
}

bool IOFile::Close() {
    if (m_fp && m_closeFile) {
        const int rc = std::fclose(m_fp);
        m_fp = nullptr;
        return rc == 0;
    }
    return true;
}

size_t IOFile::Read(void* buffer, size_t size, size_t count) {
    if (!m_fp || !buffer) return 0;
    return std::fread(buffer, size, count, m_fp);
}

size_t IOFile::Write(const void* buffer, size_t size, size_t count) {
    if (!m_fp || !buffer) return 0;
    return std::fwrite(buffer, size, count, m_fp);
}

bool IOFile::Seek(int32_t offset, int origin) {
    if (!m_fp) return false;
    return std::fseek(m_fp, offset, origin) == 0;
}

int32_t IOFile::Tell() {
    if (!m_fp) return -1;
    return static_cast<int32_t>(std::ftell(m_fp));
}

int32_t IOFile::Size() {
    if (!m_fp) return -1;
    const long pos = std::ftell(m_fp);
    std::fseek(m_fp, 0, SEEK_END);
    const long size = std::ftell(m_fp);
    std::fseek(m_fp, pos, SEEK_SET);
    return static_cast<int32_t>(size);
}

bool IOFile::Flush() { return m_fp && std::fflush(m_fp) == 0; }

bool IOFile::Eof() { return !m_fp || std::feof(m_fp) != 0; }

int32_t IOFile::Error() { return m_fp ? std::ferror(m_fp) : -1; }

bool IOFile::PutC(uint8_t c) { return m_fp && std::fputc(c, m_fp) == c; }

int32_t IOFile::GetC() {
    if (!m_fp) return -1;
    return std::getc(m_fp);
}

} // namespace vimg
