// Builders of WMF and EMF test files, record by record.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ByteBuilder.h"

namespace metafilebytes {

using testsupport::Bytes;

// A WMF record: size in words, function, 16-bit parameters.
inline void Wmf(Bytes& out, uint32_t function, std::vector<int> params,
                const std::vector<uint8_t>& tail = {}) {
    out.u32(static_cast<uint32_t>(3 + params.size() + tail.size() / 2)).u16(function);
    for (int p : params) out.u16(static_cast<uint16_t>(p));
    out.raw(tail);
}

// An EMF record: type, size, 32-bit parameters.
inline void Emf(Bytes& out, uint32_t type, std::vector<int> params, const std::vector<uint8_t>& tail = {}) {
    out.u32(type).u32(static_cast<uint32_t>(8 + 4 * params.size() + tail.size()));
    for (int p : params) out.u32(static_cast<uint32_t>(p));
    out.raw(tail);
}

// A placeable WMF: bounds (0, 0) .. (right, bottom) at `inch` units per inch,
// the records of `body` (ending with the end record) after the header.
inline std::vector<uint8_t> PlaceableWmf(int right, int bottom, int inch, const Bytes& body, int objects) {
    Bytes f;
    f.u32(0x9AC6CDD7)
        .u16(0)
        .u16(0)
        .u16(0)
        .u16(static_cast<uint32_t>(right))
        .u16(static_cast<uint32_t>(bottom));
    f.u16(static_cast<uint32_t>(inch)).u32(0).u16(0);
    f.u16(1).u16(9).u16(0x0300).u32(static_cast<uint32_t>(9 + body.v.size() / 2));
    f.u16(static_cast<uint32_t>(objects)).u32(40).u16(0);
    f.raw(body.v);
    return f.v;
}

// An EMF of 100 x 50 reference pixels shown as 96 x 48 (frame 0..2540 x 0..1270
// hundredths of a millimetre on a 100 x 50 px, 25 x 13 mm device).
inline std::vector<uint8_t> SmallEmf(const Bytes& records) {
    Bytes f;
    f.u32(1)
        .u32(88)
        .u32(0)
        .u32(0)
        .u32(99)
        .u32(49)
        .u32(0)
        .u32(0)
        .u32(2540)
        .u32(1270)
        .u32(0x464D4520)
        .u32(0x10000);
    f.u32(static_cast<uint32_t>(88 + records.v.size())).u32(8).u16(3).u16(0).u32(0).u32(0).u32(0);
    f.u32(100).u32(50).u32(25).u32(13);
    f.raw(records.v);
    return f.v;
}

// 8-bit text padded to whole words, as WMF text records hold it.
inline std::vector<uint8_t> Ansi(const std::string& text) {
    std::vector<uint8_t> out(text.begin(), text.end());
    if (out.size() % 2) out.push_back(0);
    return out;
}

// A WMF logical font: height, weight, italic and a face name.
inline std::vector<uint8_t> WmfFont(int height, int weight, bool italic, const std::string& face,
                                    int escapement = 0) {
    Bytes b;
    b.u16(static_cast<uint32_t>(height)).u16(0).u16(static_cast<uint32_t>(escapement)).u16(0);
    b.u16(static_cast<uint32_t>(weight));
    b.v.insert(b.v.end(), {static_cast<uint8_t>(italic), 0, 0, 0, 0, 0, 0, 0});
    b.raw(Ansi(face + '\0'));
    return b.v;
}

} // namespace metafilebytes
