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

// Built-in codecs (a deque keeps entry addresses stable when more are registered).
// The probe order is the order of the unknown-type pass: BMP, JPG, ICO, GIF, PNG,
// TIF, TGA, PCX, WBMP, WMF, then the content-sniffing reader of JP2/JPC/PGX/PNM/RAS.
std::deque<CodecEntry> BuiltinCodecs() {
    return {
        MakeCodecEntry<ImageBMP>(FORMAT_BMP, 0),
        MakeCodecEntry<ImageJPG>(FORMAT_JPG, 1),
        MakeCodecEntry<ImageICO>(FORMAT_ICO, 2),
        GifEntry(),
        MakeCodecEntry<ImagePNG>(FORMAT_PNG, 4),
        TifEntry(),
        MakeCodecEntry<ImageTGA>(FORMAT_TGA, 6),
        MakeCodecEntry<ImagePCX>(FORMAT_PCX, 7),
        MakeCodecEntry<ImageWBMP>(FORMAT_WBMP, 8),
        MakeCodecEntry<ImageWMF>(FORMAT_WMF, 9),
        ContentEntry<ImageJ2K>(FORMAT_JP2, 10),
        JpcEntry(),
        ContentEntry<ImagePGX>(FORMAT_PGX, -1),
        ContentEntry<ImagePNM>(FORMAT_PNM, -1),
        ContentEntry<ImageRAS>(FORMAT_RAS, -1),
    };
}

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
