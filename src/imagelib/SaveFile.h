// A file written beside its target and put in its place only when complete.
#pragma once

#include "File.h"

#include <cstdio>
#include <memory>
#include <string>

#ifdef QT_CORE_LIB
#include <QByteArray>
#include <QFile>
#include <QString>
#endif

namespace vimg {

// Open() creates a temporary file in the target's folder; the encoder writes
// into it; Commit() flushes, syncs and closes it and renames it over the
// target. Until Commit() succeeds the target is untouched, and a SaveFile
// that is not committed (or whose Commit() fails) removes its temporary file.
// The first failed write is remembered, so an encoder that ignores a short
// write still cannot make a truncated file replace the target.
class SaveFile : public File {
public:
    SaveFile() = default;
    ~SaveFile() override;
    SaveFile(const SaveFile&) = delete;
    SaveFile& operator=(const SaveFile&) = delete;

    bool Open(const char* target);
    bool Commit();
    // Makes `size` bytes from `data` the whole new content of `target` in one
    // call: Open, Write, Commit. False with the cause in `problem`.
    static bool WriteAll(const char* target, const void* data, size_t size, std::string* problem = nullptr);
    // Drops the temporary file and leaves the target as it was.
    void Discard();
    // What failed, naming the file: empty while nothing has.
    const std::string& Problem() const { return m_problem; }
    bool WriteFailed() const { return m_writeErrno != 0; }

    bool Close() override;
    size_t Read(void* buffer, size_t size, size_t count) override;
    size_t Write(const void* buffer, size_t size, size_t count) override;
    bool Seek(int32_t offset, int origin) override;
    int32_t Tell() override;
    int32_t Size() override;
    bool Flush() override;
    bool Eof() override;
    int32_t Error() override;
    int32_t GetC() override;

private:
    bool Record(const char* what, int err);
    void NoteWriteError(int err);
    void StartWriteBack(size_t bytes);

    static constexpr size_t kBufferSize = size_t{1} << 18;
    FILE* m_fp = nullptr;
    std::unique_ptr<char[]> m_buffer; // stdio's buffer, kept until the stream is closed
    std::string m_target;
    std::string m_temp;
    std::string m_problem;
    int m_writeErrno = 0;
    size_t m_unsynced = 0; // bytes written since the last StartWriteBack hand-over
};

#ifdef QT_CORE_LIB
// SaveFile::WriteAll for Qt callers: a path as Qt names it, the bytes of a
// QByteArray, the cause as a QString.
inline bool SaveBytes(const QString& target, const QByteArray& bytes, QString* problem = nullptr) {
    std::string cause;
    const bool written = SaveFile::WriteAll(QFile::encodeName(target).constData(), bytes.constData(),
                                            static_cast<size_t>(bytes.size()), &cause);
    if (!written && problem) *problem = QString::fromStdString(cause);
    return written;
}
#endif

} // namespace vimg
