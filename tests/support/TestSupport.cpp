#include "TestSupport.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

TempDir::TempDir() {
    std::random_device rd;
    const auto base = std::filesystem::temp_directory_path();
    for (int i = 0; i < 100; ++i) {
        auto candidate = base / ("vistorel-test-" + std::to_string(getpid()) + "-" + std::to_string(rd()));
        if (std::filesystem::create_directory(candidate)) {
            m_path = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

int Run(const std::string& command, std::string* out) {
    FILE* p = popen(command.c_str(), "r");
    if (!p) return -1;
    std::array<char, 4096> buf;
    std::string text;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) text.append(buf.data(), n);
    const int status = pclose(p);
    if (out) *out = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Convert() { return "/usr/bin/convert"; }

bool HaveImageMagick() { return std::filesystem::exists(Convert()); }

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'') q += "'\\''";
        else q += c;
    }
    return q + "'";
}

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> ReferenceRGBA(const std::string& file, int* width, int* height) {
    std::string dims;
    if (Run("/usr/bin/identify -format '%w %h' " + Quote(file + "[0]") + " 2>/dev/null", &dims) != 0)
        return {};
    std::istringstream is(dims);
    int w = 0, h = 0;
    is >> w >> h;
    if (width) *width = w;
    if (height) *height = h;
    const std::string raw = file + ".ref.rgba";
    if (Run(Convert() + " " + Quote(file + "[0]") + " -depth 8 " + Quote("rgba:" + raw) + " 2>/dev/null") !=
        0)
        return {};
    auto bytes = ReadFile(raw);
    std::remove(raw.c_str());
    return bytes;
}

} // namespace testsupport
