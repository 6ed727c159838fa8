#include "ExifReader.h"

#include "../File.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

namespace vimg {

namespace {

constexpr size_t kMaxSections = 20;
constexpr int kMaxPadding = 6;
// Sub-directories nest at most this deep and a block holds at most this many;
// more are loops or garbage meant to make parsing take for ever.
constexpr int kMaxDirDepth = 4;
constexpr size_t kMaxDirs = 32;

constexpr int kBytesPerFormat[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
enum Format { FMT_BYTE = 1, FMT_STRING, FMT_USHORT, FMT_ULONG, FMT_URATIONAL, FMT_SBYTE, FMT_UNDEFINED,
              FMT_SSHORT, FMT_SLONG, FMT_SRATIONAL, FMT_SINGLE, FMT_DOUBLE };

bool IsFrameMarker(int m) {
    return (m >= 0xC0 && m <= 0xC3) || (m >= 0xC5 && m <= 0xC7) || (m >= 0xC9 && m <= 0xCB) ||
           (m >= 0xCD && m <= 0xCF);
}

// Inches per unit of the EXIF resolution unit codes; 0 for unknown codes.
float InchesPerUnit(int unit) {
    switch (unit) {
    case 1:
    case 2: return 1.0f;
    case 3: return 0.3937f;
    case 4: return 0.03937f;
    case 5: return 0.00003937f;
    default: return 0.0f;
    }
}

void CopyText(char* dest, size_t destSize, const uint8_t* src, uint64_t length) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(length, destSize - 1));
    std::memcpy(dest, src, n);
    dest[n] = '\0';
}

} // namespace

ExifReader::ExifReader(ExifInfo* info) : m_info(info), m_ownsInfo(info == nullptr) {
    if (!m_info) {
        m_info = new ExifInfo;
        std::memset(m_info, 0, sizeof(ExifInfo));
    }
}

ExifReader::~ExifReader() {
    if (m_ownsInfo) delete m_info;
}

bool ExifReader::Fail(const char* text) {
    std::snprintf(m_error, sizeof(m_error), "%s", text);
    return false;
}

int ExifReader::Get16m(const uint8_t* p) { return (p[0] << 8) | p[1]; }

int ExifReader::Get16u(const uint8_t* p) const {
    return m_motorola ? (p[0] << 8) | p[1] : (p[1] << 8) | p[0];
}

uint32_t ExifReader::Get32u(const uint8_t* p) const {
    if (m_motorola)
        return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
    return (uint32_t(p[3]) << 24) | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | uint32_t(p[0]);
}

int32_t ExifReader::Get32s(const uint8_t* p) const { return static_cast<int32_t>(Get32u(p)); }

double ExifReader::ConvertAnyFormat(const uint8_t* value, int format) const {
    switch (format) {
    case FMT_SBYTE: return static_cast<int8_t>(value[0]);
    case FMT_BYTE:
    case FMT_UNDEFINED:
    case FMT_STRING: return value[0];
    case FMT_USHORT: return Get16u(value);
    case FMT_ULONG: return Get32u(value);
    case FMT_URATIONAL: {
        const uint32_t den = Get32u(value + 4);
        return den == 0 ? 0.0 : static_cast<double>(Get32u(value)) / den;
    }
    case FMT_SRATIONAL: {
        const int32_t den = Get32s(value + 4);
        return den == 0 ? 0.0 : static_cast<double>(Get32s(value)) / den;
    }
    case FMT_SSHORT: return static_cast<int16_t>(Get16u(value));
    case FMT_SLONG: return Get32s(value);
    case FMT_SINGLE: {
        const uint32_t bits = Get32u(value);
        float f;
        std::memcpy(&f, &bits, 4);
        return f;
    }
    case FMT_DOUBLE: {
        uint64_t bits = 0;
        for (int i = 0; i < 8; ++i) bits |= uint64_t(value[i]) << (m_motorola ? 8 * (7 - i) : 8 * i);
        double d;
        std::memcpy(&d, &bits, 8);
        return d;
    }
    default: return 0.0;
    }
}

bool ExifReader::DecodeExif(File* stream, int mode) {
    if (!stream) return Fail("null file handler");
    if (stream->GetC() != 0xFF || stream->GetC() != 0xD8) return Fail("Not a JPEG file");

    for (;;) {
        if (m_sections.size() >= kMaxSections - 1) return Fail("Too many sections in jpg file");

        int marker = 0;
        int ffCount = 0;
        for (;;) {
            marker = stream->GetC();
            if (marker != 0xFF) break;
            if (++ffCount > kMaxPadding + 1) return Fail("too many padding bytes");
        }
        if (marker < 0) return Fail("Premature end of file?");
        if (marker == 0xD9) return Fail("No image in jpeg!");

        const int hi = stream->GetC();
        const int lo = stream->GetC();
        if (hi < 0 || lo < 0) return Fail("Premature end of file?");
        const int length = (hi << 8) | lo;
        if (length < 2) return Fail("invalid marker");

        Section section;
        section.type = marker;
        section.data.resize(static_cast<size_t>(length));
        section.data[0] = static_cast<uint8_t>(hi);
        section.data[1] = static_cast<uint8_t>(lo);
        if (stream->Read(section.data.data() + 2, 1, static_cast<size_t>(length - 2)) !=
            static_cast<size_t>(length - 2))
            return Fail("Premature end of file?");

        if (IsFrameMarker(marker)) {
            ReadFrameHeader(section.data, marker);
        } else if (marker == 0xDA) {
            m_sections.push_back(std::move(section));
            if (mode & kReadAll) {
                const int32_t pos = stream->Tell();
                const int32_t size = stream->Size();
                if (pos < 0 || size < pos) return Fail("could not read the rest of the image");
                Section rest;
                rest.type = kImageData;
                try {
                    rest.data.resize(static_cast<size_t>(size - pos));
                } catch (const std::bad_alloc&) {
                    return Fail("could not allocate data for entire image");
                }
                if (stream->Read(rest.data.data(), 1, rest.data.size()) != rest.data.size())
                    return Fail("could not read the rest of the image");
                m_sections.push_back(std::move(rest));
            }
            return true;
        } else if (marker == 0xE0) {
            continue; // JFIF headers are regenerated by the writer when needed
        } else if (marker == 0xE1) {
            if ((mode & kParse) && length >= 8 && std::memcmp(section.data.data() + 2, "Exif", 4) == 0)
                m_info->isExif =
                    ProcessExif(section.data.data() + 2, static_cast<uint32_t>(length - 2)) ? 1 : 0;
        } else if (marker == 0xFE) {
            if ((mode & kParse) && m_info->comments[0] == '\0')
                ProcessComment(section.data.data() + 2, static_cast<uint32_t>(length - 2));
        }
        m_sections.push_back(std::move(section));
    }
}

void ExifReader::ReadFrameHeader(const std::vector<uint8_t>& data, int marker) {
    if (data.size() < 8) return;
    m_info->height = Get16m(&data[3]);
    m_info->width = Get16m(&data[5]);
    m_info->isColor = data[7] == 3 ? 1 : 0;
    m_info->process = marker;
}

void ExifReader::ProcessComment(const uint8_t* text, uint32_t length) {
    const size_t limit = sizeof(m_info->comments) - 1;
    size_t n = 0;
    for (uint32_t i = 0; i < length && n < limit; ++i) {
        const uint8_t c = text[i];
        if (c == '\r' && i + 1 < length && text[i + 1] == '\n') continue;
        m_info->comments[n++] = (std::isprint(c) || c == '\n' || c == '\t') ? static_cast<char>(c) : '?';
    }
    m_info->comments[n] = '\0';
}

bool ExifReader::ProcessExif(const uint8_t* block, uint32_t length) {
    if (length < 6 || std::memcmp(block, "Exif\0\0", 6) != 0) return Fail("Incorrect Exif header");
    const uint8_t* base = block + 6;
    const uint32_t size = length - 6;
    if (size < 8) return Fail("Invalid Exif alignment marker.");
    if (base[0] == 'I' && base[1] == 'I') m_motorola = false;
    else if (base[0] == 'M' && base[1] == 'M') m_motorola = true;
    else return Fail("Invalid Exif alignment marker.");
    if (Get16u(base + 2) != 42) return Fail("Invalid Exif start (1)");

    // The first directory normally follows the header; honour a stored offset that points elsewhere.
    uint32_t first = Get32u(base + 4);
    if (first < 8 || first >= size) first = 8;
    m_largestDimension = 0;
    m_dirsSeen.clear();
    if (!ProcessDir(base + first, base, size, 0)) return false;

    if (m_info->focalPlaneXRes != 0.0f)
        m_info->ccdWidth =
            static_cast<float>(m_largestDimension * m_info->focalPlaneUnits / m_info->focalPlaneXRes);
    return true;
}

bool ExifReader::ProcessDir(const uint8_t* dir, const uint8_t* base, uint32_t length, int depth) {
    const uint64_t dirOffset = static_cast<uint64_t>(dir - base);
    if (depth > kMaxDirDepth || m_dirsSeen.size() >= kMaxDirs ||
        std::find(m_dirsSeen.begin(), m_dirsSeen.end(), dirOffset) != m_dirsSeen.end())
        return Fail("Illegal subdirectory link");
    m_dirsSeen.push_back(dirOffset);
    if (dirOffset + 2 > length) return Fail("Illegally sized directory");
    const int entries = Get16u(dir);
    const uint64_t dirEnd = dirOffset + 2 + 12ull * entries;
    if (dirEnd > length) return Fail("Illegally sized directory");

    for (int i = 0; i < entries; ++i) {
        const uint8_t* entry = dir + 2 + 12 * i;
        const int tag = Get16u(entry);
        const int format = Get16u(entry + 2);
        const uint32_t components = Get32u(entry + 4);
        if (format < 1 || format > 12) return Fail("Illegal format code in EXIF dir");
        const uint64_t byteCount = static_cast<uint64_t>(components) * kBytesPerFormat[format];

        const uint8_t* value = entry + 8;
        if (byteCount > 4) {
            const uint64_t offset = Get32u(entry + 8);
            if (offset + byteCount > length) return Fail("Illegal pointer offset value in EXIF.");
            value = base + offset;
        }
        // Numeric reads need one whole component.
        const bool numeric = byteCount >= static_cast<uint64_t>(kBytesPerFormat[format]) && components > 0;
        const double number = numeric ? ConvertAnyFormat(value, format) : 0.0;
        const auto asInt = [&] {
            return static_cast<int32_t>(std::clamp(number, -2147483648.0, 2147483647.0));
        };

        switch (tag) {
        case 0x010F: CopyText(m_info->cameraMake, sizeof(m_info->cameraMake), value, byteCount); break;
        case 0x0110: CopyText(m_info->cameraModel, sizeof(m_info->cameraModel), value, byteCount); break;
        case 0x9003: CopyText(m_info->dateTime, sizeof(m_info->dateTime), value, byteCount); break;
        case 0x9000:
            CopyText(m_info->version, sizeof(m_info->version), value, std::min<uint64_t>(byteCount, 4));
            break;
        case 0x9286: {
            uint64_t n = byteCount;
            while (n > 0 && value[n - 1] == ' ') --n;
            if (n >= 5 && std::memcmp(value, "ASCII", 5) == 0) {
                for (uint64_t a = 5; a < 10 && a < n; ++a) {
                    if (value[a] != '\0' && value[a] != ' ') {
                        CopyText(m_info->comments, sizeof(m_info->comments), value + a, n - a);
                        break;
                    }
                }
            } else {
                CopyText(m_info->comments, sizeof(m_info->comments), value, n);
            }
            break;
        }
        case 0x0112: {
            const int32_t o = asInt();
            if (o < 1 || o > 8) {
                Fail("Undefined rotation value");
                m_info->orientation = 0;
            } else {
                m_info->orientation = o;
            }
            break;
        }
        case 0x9209: m_info->flashUsed = (asInt() & 7) ? 1 : 0; break;
        case 0x920A: m_info->focalLength = static_cast<float>(number); break;
        case 0x829A: m_info->exposureTime = static_cast<float>(number); break;
        case 0x9201:
            if (m_info->exposureTime == 0.0f)
                m_info->exposureTime = static_cast<float>(1.0 / std::exp2(number));
            break;
        case 0x829D: m_info->apertureFNumber = static_cast<float>(number); break;
        case 0x9202:
        case 0x9205:
            if (m_info->apertureFNumber == 0.0f)
                m_info->apertureFNumber = static_cast<float>(std::exp2(number * 0.5));
            break;
        case 0x9206: m_info->distance = static_cast<float>(number); break;
        case 0x9204: m_info->exposureBias = static_cast<float>(number); break;
        case 0x9208: m_info->whiteBalance = asInt(); break;
        case 0x9207: m_info->meteringMode = asInt(); break;
        case 0x8822: m_info->exposureProgram = asInt(); break;
        case 0x8827: {
            int32_t iso = asInt();
            if (iso < 50) iso *= 200;
            m_info->isoEquivalent = iso;
            break;
        }
        case 0x9102: m_info->compressionLevel = asInt(); break;
        case 0xA20E: m_info->focalPlaneXRes = static_cast<float>(number); break;
        case 0xA20F: m_info->focalPlaneYRes = static_cast<float>(number); break;
        case 0xA210: m_info->focalPlaneUnits = InchesPerUnit(asInt()); break;
        case 0x011A: m_info->xResolution = static_cast<float>(number); break;
        case 0x011B: m_info->yResolution = static_cast<float>(number); break;
        case 0x0128: m_info->resolutionUnit = InchesPerUnit(asInt()); break;
        case 0x9203: m_info->brightness = static_cast<float>(number); break;
        case 0xA002:
        case 0xA003: m_largestDimension = std::max(m_largestDimension, asInt()); break;
        case 0x0201: m_info->thumbnailOffset = static_cast<uint32_t>(number); break;
        case 0x0202: m_info->thumbnailLength = static_cast<uint32_t>(number); break;
        case 0x8769:
        case 0xA005: {
            if (byteCount < 4) return Fail("Illegal subdirectory link");
            const uint32_t sub = Get32u(value);
            if (sub <= 8 || sub >= length) return Fail("Illegal subdirectory link");
            if (!ProcessDir(base + sub, base, length, depth + 1)) return false;
            break;
        }
        default: break;
        }
    }

    // The link to the next directory (the thumbnail's), when there is room for it.
    if (dirEnd + 4 <= length) {
        const uint32_t next = Get32u(base + dirEnd);
        if (next != 0) {
            if (next >= length) return Fail("Illegal subdirectory link");
            if (!ProcessDir(base + next, base, length, depth + 1)) return false;
        }
    }
    return true;
}

void ExifReader::DiscardAllButExif() {
    std::vector<Section> kept;
    Section* exif = nullptr;
    Section* comment = nullptr;
    for (Section& s : m_sections) {
        if (s.type == 0xE1 && !exif) exif = &s;
        if (s.type == 0xFE && !comment) comment = &s;
    }
    if (exif) kept.push_back(std::move(*exif));
    if (comment) kept.push_back(std::move(*comment));
    m_sections = std::move(kept);
}

bool ExifReader::SetResolution(uint32_t xDpi, uint32_t yDpi) {
    auto found = std::find_if(m_sections.begin(), m_sections.end(), [](const Section& s) {
        return s.type == 0xE1 && s.data.size() >= 2 + 6 + 8 && std::memcmp(s.data.data() + 2, "Exif\0\0", 6) == 0;
    });
    if (found == m_sections.end()) return false;
    uint8_t* base = found->data.data() + 8;
    const uint64_t size = found->data.size() - 8;
    const bool motorola = base[0] == 'M' && base[1] == 'M';
    if (!motorola && !(base[0] == 'I' && base[1] == 'I')) return false;
    const bool saved = m_motorola;
    m_motorola = motorola;
    auto put = [motorola](uint8_t* p, uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            const int shift = motorola ? 8 * (bytes - 1 - i) : 8 * i;
            p[i] = static_cast<uint8_t>(value >> shift);
        }
    };
    bool changed = false;
    const uint64_t dir = Get32u(base + 4);
    if (dir >= 8 && dir + 2 <= size) {
        const int entries = Get16u(base + dir);
        for (int i = 0; i < entries && dir + 2 + 12ull * (i + 1) <= size; ++i) {
            uint8_t* entry = base + dir + 2 + 12 * i;
            const int tag = Get16u(entry);
            const int format = Get16u(entry + 2);
            if ((tag == 0x011A || tag == 0x011B) && format == FMT_URATIONAL && Get32u(entry + 4) == 1) {
                const uint64_t at = Get32u(entry + 8);
                if (at + 8 > size) continue;
                put(base + at, tag == 0x011A ? xDpi : yDpi, 4);
                put(base + at + 4, 1, 4);
                changed = true;
            } else if (tag == 0x0128 && format == FMT_USHORT) {
                put(entry + 8, 2, 2); // inches
                changed = true;
            }
        }
    }
    m_motorola = saved;
    return changed;
}

bool ExifReader::EncodeExif(File* stream) {
    if (!stream) return Fail("null file handler");
    if (m_sections.empty() || m_sections.back().type != kImageData)
        return Fail("Can't write exif : didn't read all");

    static const uint8_t kSoi[] = {0xFF, 0xD8};
    static const uint8_t kJfif[] = {0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0x00, 0x01,
                                    0x01, 0x01, 0x01, 0x2C, 0x01, 0x2C, 0x00, 0x00};
    bool ok = stream->Write(kSoi, 1, 2) == 2;
    if (m_sections[0].type != 0xE1 && m_sections[0].type != 0xE0)
        ok = ok && stream->Write(kJfif, 1, 18) == 18;
    for (size_t i = 0; i + 1 < m_sections.size() && ok; ++i) {
        const uint8_t head[2] = {0xFF, static_cast<uint8_t>(m_sections[i].type)};
        const std::vector<uint8_t>& d = m_sections[i].data;
        ok = stream->Write(head, 1, 2) == 2 && stream->Write(d.data(), 1, d.size()) == d.size();
    }
    const std::vector<uint8_t>& rest = m_sections.back().data;
    ok = ok && stream->Write(rest.data(), 1, rest.size()) == rest.size();
    return ok ? true : Fail("Write Error");
}

} // namespace vimg
