// Builds hand-made files byte by byte: little-endian by default (BMP, WMF,
// TIFF II), big-endian where asked (PNG, TIFF MM, JPEG markers).
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace testsupport {

struct Bytes {
    std::vector<uint8_t> v;
    Bytes& u8(uint32_t x) {
        v.push_back(static_cast<uint8_t>(x));
        return *this;
    }
    Bytes& u16(uint32_t x) { return u8(x).u8(x >> 8); }
    Bytes& u32(uint32_t x) { return u16(x).u16(x >> 16); }
    Bytes& be16(uint32_t x) { return u8(x >> 8).u8(x); }
    Bytes& be32(uint32_t x) { return be16(x >> 16).be16(x); }
    Bytes& text(const std::string& s) {
        v.insert(v.end(), s.begin(), s.end());
        return *this;
    }
    Bytes& raw(std::initializer_list<uint8_t> bytes) {
        v.insert(v.end(), bytes);
        return *this;
    }
    Bytes& raw(const std::vector<uint8_t>& bytes) {
        v.insert(v.end(), bytes.begin(), bytes.end());
        return *this;
    }
    Bytes& append(const Bytes& other) { return raw(other.v); }
    Bytes& zeros(size_t n) {
        v.insert(v.end(), n, 0);
        return *this;
    }
};

} // namespace testsupport
