#include "CodecRegistry.h"

#include "Image.h"
#include "codecs/ContentReader.h"
#include "codecs/ImageBMP.h"
#include "codecs/ImageJPG.h"
#include "codecs/ImagePNG.h"
#include "codecs/ImageTIF.h"
#include "codecs/ImageGIF.h"
#include "codecs/ImageICO.h"
#include "codecs/ImageJ2K.h"
#include "codecs/ImagePCX.h"
#include "codecs/ImagePGX.h"
#include "codecs/ImagePNM.h"
#include "codecs/ImageRAS.h"
#include "codecs/ImageTGA.h"
#include "codecs/ImageWBMP.h"
#include "codecs/ImageWMF.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <deque>
#include <mutex>

namespace vimg {

namespace {

CodecEntry TifEntry() {
    CodecEntry e = MakeCodecEntry<ImageTIF>(FORMAT_TIF, 5);
    e.encodeMulti = [](Image& codec, File* stream, Image** images, int32_t count) {
        return static_cast<ImageTIF&>(codec).Encode(stream, images, count);
    };
    return e;
}

CodecEntry GifEntry() {
    CodecEntry e = MakeCodecEntry<ImageGIF>(FORMAT_GIF, 3);
    e.encodeMulti = [](Image& codec, File* f, Image** images, int32_t count) {
        return static_cast<ImageGIF&>(codec).Encode(f, images, count);
    };
    return e;
}

// JP2, JPC, PGX, PNM and RAS share one reader that goes by the content.
template <class Codec>
CodecEntry ContentEntry(uint32_t type, int probeOrder) {
    CodecEntry e = MakeCodecEntry<Codec>(type, probeOrder);
    e.detectsType = true;
    e.decode = [](Image& codec, File* f) { return DecodeByContent(codec, f); };
    return e;
}

CodecEntry JpcEntry() {
    CodecEntry e = ContentEntry<ImageJ2K>(FORMAT_JPC, -1);
    e.create = []() -> std::unique_ptr<Image> { return std::make_unique<ImageJ2K>(FORMAT_JPC); };
    return e;
}

enum Ability : unsigned { kReads = 1, kWrites = 2, kMultiFrame = 4 };

CodecEntry Described(CodecEntry e, const char* name, std::vector<std::string> extensions, unsigned abilities,
                     const char* label = nullptr) {
    e.name = name;
    e.label = label ? label : name;
    e.extensions = std::move(extensions);
    e.reads = abilities & kReads;
    e.writes = abilities & kWrites;
    e.multiFrame = abilities & kMultiFrame;
    return e;
}

// Built-in codecs (a deque keeps entry addresses stable when more are registered),
// in the order file dialogs list them. The probe order is the order of the
// unknown-type pass: BMP, JPG, ICO, GIF, PNG, TIF, TGA, PCX, WBMP, WMF, then the
// content-sniffing reader of JP2/JPC/PGX/PNM/RAS.
std::deque<CodecEntry> BuiltinCodecs() {
    constexpr unsigned kBoth = kReads | kWrites;
    CodecEntry ico =
        Described(MakeCodecEntry<ImageICO>(FORMAT_ICO, 2), "ICO", {"ico"}, kBoth | kMultiFrame, "ICO CUR");
    ico.listedToo = {"cur"};
    return {
        Described(MakeCodecEntry<ImageBMP>(FORMAT_BMP, 0), "BMP", {"bmp"}, kBoth),
        Described(GifEntry(), "GIF", {"gif"}, kBoth | kMultiFrame),
        Described(MakeCodecEntry<ImageJPG>(FORMAT_JPG, 1), "JPG", {"jpg", "jpeg"}, kBoth),
        Described(MakeCodecEntry<ImagePNG>(FORMAT_PNG, 4), "PNG", {"png"}, kBoth),
        ico,
        Described(TifEntry(), "TIF", {"tif", "tiff"}, kBoth | kMultiFrame),
        Described(MakeCodecEntry<ImageTGA>(FORMAT_TGA, 6), "TGA", {"tga"}, kBoth),
        Described(MakeCodecEntry<ImagePCX>(FORMAT_PCX, 7), "PCX", {"pcx"}, kBoth | kMultiFrame), // DCX pages
        Described(MakeCodecEntry<ImageWBMP>(FORMAT_WBMP, 8), "WBMP", {"wbmp"}, kBoth),
        Described(MakeCodecEntry<ImageWMF>(FORMAT_WMF, 9), "WMF", {"wmf", "emf"}, kReads, "WMF EMF"),
        Described(ContentEntry<ImageJ2K>(FORMAT_JP2, 10), "JP2", {"j2k", "jp2"}, kBoth),
        Described(JpcEntry(), "JPC", {"j2c", "jpc"}, kBoth),
        Described(ContentEntry<ImagePGX>(FORMAT_PGX, -1), "PGX", {"pgx"}, kBoth),
        // RAS before PNM: the dialogs have always listed them so.
        Described(ContentEntry<ImageRAS>(FORMAT_RAS, -1), "RAS", {"ras"}, kBoth),
        Described(ContentEntry<ImagePNM>(FORMAT_PNM, -1), "PNM", {"pnm", "pgm", "ppm"}, kBoth),
    };
}

// Signatures at the start of a file (at `offset` for EMF).
struct Signature {
    uint32_t type;
    size_t offset;
    std::string_view bytes;
};

constexpr Signature kSignatures[] = {
    {FORMAT_BMP, 0, "BM"},
    {FORMAT_GIF, 0, "GIF8"},
    {FORMAT_JPG, 0, "\xFF\xD8\xFF"},
    {FORMAT_PNG, 0, "\x89PNG\r\n\x1A\n"},
    {FORMAT_ICO, 0, std::string_view("\0\0\1\0", 4)},
    {FORMAT_ICO, 0, std::string_view("\0\0\2\0", 4)}, // cursor
    {FORMAT_TIF, 0, std::string_view("II*\0", 4)},
    {FORMAT_TIF, 0, std::string_view("MM\0*", 4)},
    {FORMAT_PCX, 0, "\xB1\x68\xDE\x3A"},                  // DCX page table
    {FORMAT_WMF, 0, "\xD7\xCD\xC6\x9A"},                  // placeable metafile
    {FORMAT_WMF, 0, std::string_view("\x01\0\x09\0", 4)}, // metafile in memory
    {FORMAT_WMF, 0, std::string_view("\x02\0\x09\0", 4)}, // metafile on disk
    {FORMAT_WMF, 40, " EMF"},
    {FORMAT_JP2, 0, std::string_view("\0\0\0\x0CjP  ", 8)},
    {FORMAT_JPC, 0, "\xFF\x4F\xFF\x51"},
    {FORMAT_RAS, 0, "\x59\xA6\x6A\x95"},
    {FORMAT_PGX, 0, "PG"},
};

struct Table {
    std::mutex lock;
    std::deque<CodecEntry> entries = BuiltinCodecs();
};

Table& table() {
    static Table t;
    return t;
}

} // namespace

void CodecRegistry::Register(const CodecEntry& entry) {
    Table& t = table();
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = std::find_if(t.entries.begin(), t.entries.end(),
                           [&](const CodecEntry& e) { return e.type == entry.type; });
    if (it != t.entries.end()) *it = entry;
    else t.entries.push_back(entry);
}

const CodecEntry* CodecRegistry::Find(uint32_t type) {
    Table& t = table();
    std::lock_guard<std::mutex> guard(t.lock);
    for (const CodecEntry& e : t.entries)
        if (e.type == type) return &e;
    return nullptr;
}

std::vector<const CodecEntry*> CodecRegistry::Formats() {
    Table& t = table();
    std::lock_guard<std::mutex> guard(t.lock);
    std::vector<const CodecEntry*> all;
    for (const CodecEntry& e : t.entries) all.push_back(&e);
    return all;
}

uint32_t CodecRegistry::TypeOfFileName(std::string_view fileName) {
    const size_t slash = fileName.find_last_of('/');
    const std::string_view base = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
    const size_t dot = base.find_last_of('.');
    if (dot == std::string_view::npos) return FORMAT_UNKNOWN;
    return TypeOfExtension(base.substr(dot + 1));
}

uint32_t CodecRegistry::TypeOfExtension(std::string_view extension) {
    std::string lower(extension);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    Table& t = table();
    std::lock_guard<std::mutex> guard(t.lock);
    for (const CodecEntry& e : t.entries)
        if (std::find(e.extensions.begin(), e.extensions.end(), lower) != e.extensions.end()) return e.type;
    return FORMAT_UNKNOWN;
}

uint32_t CodecRegistry::TypeOfContent(const uint8_t* head, size_t size) {
    if (!head) return FORMAT_UNKNOWN;
    for (const Signature& s : kSignatures)
        if (size >= s.offset + s.bytes.size() &&
            std::memcmp(head + s.offset, s.bytes.data(), s.bytes.size()) == 0)
            return s.type;
    // PNM: "P1" to "P6" and white space; PCX: manufacturer 10, a known version, encoding 0 or 1.
    if (size >= 3 && head[0] == 'P' && head[1] >= '1' && head[1] <= '6' && std::isspace(head[2]))
        return FORMAT_PNM;
    if (size >= 4 && head[0] == 0x0A && (head[1] <= 5 && head[1] != 1) && head[2] <= 1 &&
        (head[3] == 1 || head[3] == 2 || head[3] == 4 || head[3] == 8))
        return FORMAT_PCX;
    return FORMAT_UNKNOWN;
}

std::vector<const CodecEntry*> CodecRegistry::ProbeOrder() {
    Table& t = table();
    std::lock_guard<std::mutex> guard(t.lock);
    std::vector<const CodecEntry*> order;
    for (const CodecEntry& e : t.entries)
        if (e.probeOrder >= 0) order.push_back(&e);
    std::stable_sort(order.begin(), order.end(),
                     [](const CodecEntry* a, const CodecEntry* b) { return a->probeOrder < b->probeOrder; });
    return order;
}

} // namespace vimg
