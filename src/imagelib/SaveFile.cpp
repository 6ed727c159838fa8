#include "SaveFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace vimg {

namespace {

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A link is replaced by writing beside the file it points to, so the link stays a link.
std::string ResolveLink(const char* target) {
    struct stat st {};
    if (lstat(target, &st) == 0 && S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (realpath(target, resolved)) return resolved;
    }
    return target;
}

} // namespace

SaveFile::~SaveFile() { Discard(); }

bool SaveFile::Record(const char* what, int err) {
    if (m_problem.empty()) {
        m_problem = std::string(what) + " '" + m_target + "'";
        if (err) m_problem += std::string(": ") + std::strerror(err);
    }
    return false;
}

void SaveFile::NoteWriteError(int err) {
    if (m_writeErrno) return;
    m_writeErrno = err ? err : EIO;
    Record("cannot write", m_writeErrno);
}

bool SaveFile::Open(const char* target) {
    if (m_fp || !target || !*target) return false;
    m_target = ResolveLink(target);
    const std::string base =
        m_target.substr(m_target.rfind('/') == std::string::npos ? 0 : m_target.rfind('/') + 1);
    const std::string folder = FolderOf(m_target);
    // A file the user may not write stays as it is, although the folder would allow replacing it.
    if (::access(m_target.c_str(), F_OK) == 0 && ::access(m_target.c_str(), W_OK) != 0)
        return Record("cannot write", errno);
    std::random_device seed;
    std::mt19937 rng(seed());
    // O_EXCL with a random name: the temporary file is ours alone; 0666 lets the umask decide as for any new
    // file.
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof(suffix), "%08x", static_cast<unsigned>(rng()));
        m_temp = folder + "/." + base + "." + suffix + ".part";
        fd = ::open(m_temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        const int err = errno;
        m_temp.clear();
        return Record("cannot create a temporary file beside", err);
    }
    // A replaced file keeps its permissions.
    struct stat st {};
    if (::stat(m_target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) fchmod(fd, st.st_mode & 07777);
    m_fp = fdopen(fd, "w+b");
    if (!m_fp) {
        const int err = errno;
        ::close(fd);
        ::unlink(m_temp.c_str());
        m_temp.clear();
        return Record("cannot create a temporary file beside", err);
    }
    // stdio's default block-sized buffer turns a picture's rows into thousands of small writes.
    m_buffer = std::make_unique<char[]>(kBufferSize);
    std::setvbuf(m_fp, m_buffer.get(), _IOFBF, kBufferSize);
    return true;
}

bool SaveFile::Commit() {
    if (!m_fp) return m_problem.empty() ? Record("nothing was written to", 0) : false;
    if (std::fflush(m_fp) != 0) NoteWriteError(errno);
    if (!m_writeErrno && std::ferror(m_fp)) NoteWriteError(EIO);
    if (!m_writeErrno && fsync(fileno(m_fp)) != 0) NoteWriteError(errno);
    FILE* fp = m_fp;
    m_fp = nullptr;
    if (std::fclose(fp) != 0) NoteWriteError(errno);
    if (m_writeErrno) {
        Discard();
        return false;
    }
    if (std::rename(m_temp.c_str(), m_target.c_str()) != 0) {
        const int err = errno;
        Discard();
        return Record("cannot replace", err);
    }
    m_temp.clear();
    // The new name must reach the disk too; a folder that cannot be synced is no failure of the save.
    const int dir = ::open(FolderOf(m_target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        ::close(dir);
    }
    return true;
}

bool SaveFile::WriteAll(const char* target, const void* data, size_t size, std::string* problem) {
    SaveFile file;
    const bool written =
        file.Open(target) && (size == 0 || file.Write(data, 1, size) == size) && file.Commit();
    if (!written && problem)
        *problem = file.Problem().empty() ? "cannot write '" + std::string(target ? target : "") + "'"
                                          : file.Problem();
    return written;
}

void SaveFile::Discard() {
    if (m_fp) {
        std::fclose(m_fp);
        m_fp = nullptr;
    }
    if (!m_temp.empty()) {
        ::unlink(m_temp.c_str());
        m_temp.clear();
    }
}

// The temporary file stays open until Commit or Discard.
bool SaveFile::Close() { return m_fp != nullptr; }

size_t SaveFile::Read(void* buffer, size_t size, size_t count) {
    if (!m_fp || !buffer) return 0;
    return std::fread(buffer, size, count, m_fp);
}

size_t SaveFile::Write(const void* buffer, size_t size, size_t count) {
    if (!m_fp || !buffer) return 0;
    errno = 0;
    const size_t written = std::fwrite(buffer, size, count, m_fp);
    if (written != count) NoteWriteError(errno);
    StartWriteBack(written * size);
    return written;
}

// Every few megabytes the written data is handed to the disk without waiting,
// so that Commit's fsync finds little left to write: a large picture is then
// saved in about the time the encoder takes instead of that time plus the disk's.
void SaveFile::StartWriteBack(size_t bytes) {
#ifdef __linux__
    constexpr size_t kChunk = size_t{8} << 20;
    m_unsynced += bytes;
    if (m_unsynced < kChunk || m_writeErrno) return;
    m_unsynced = 0;
    if (std::fflush(m_fp) != 0) {
        NoteWriteError(errno);
        return;
    }
    sync_file_range(fileno(m_fp), 0, 0, SYNC_FILE_RANGE_WRITE); // a hint: Commit's fsync decides
#else
    (void)bytes;
#endif
}

bool SaveFile::Seek(int32_t offset, int origin) {
    if (!m_fp) return false;
    errno = 0;
    if (std::fseek(m_fp, offset, origin) == 0) return true;
    // Seeking writes out what is buffered, so this is where a full disk often shows.
    if (std::ferror(m_fp)) NoteWriteError(errno);
    return false;
}

int32_t SaveFile::Tell() {
    if (!m_fp) return -1;
    return static_cast<int32_t>(std::ftell(m_fp));
}

int32_t SaveFile::Size() {
    if (!m_fp) return -1;
    const long pos = std::ftell(m_fp);
    if (!Seek(0, SEEK_END)) return -1;
    const long size = std::ftell(m_fp);
    Seek(static_cast<int32_t>(pos), SEEK_SET);
    return static_cast<int32_t>(size);
}

bool SaveFile::Flush() {
    if (!m_fp) return false;
    if (std::fflush(m_fp) == 0) return true;
    NoteWriteError(errno);
    return false;
}

bool SaveFile::Eof() { return !m_fp || std::feof(m_fp) != 0; }

int32_t SaveFile::Error() {
    if (!m_fp) return -1;
    return (m_writeErrno || std::ferror(m_fp)) ? 1 : 0;
}

int32_t SaveFile::GetC() {
    if (!m_fp) return -1;
    return std::getc(m_fp);
}

} // namespace vimg
