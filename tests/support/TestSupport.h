// Helpers shared by the test programs.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }
    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// Runs a shell command; returns its exit status (and its standard output in `out`).
int Run(const std::string& command, std::string* out = nullptr);
// ImageMagick's convert by its Debian path (another `convert` may come first on PATH).
std::string Convert();
bool HaveImageMagick();
std::string Quote(const std::string& s);

std::vector<uint8_t> ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

// ImageMagick's own decoding of `file` as 8-bit RGBA, rows top first.
std::vector<uint8_t> ReferenceRGBA(const std::string& file, int* width = nullptr, int* height = nullptr);

} // namespace testsupport
