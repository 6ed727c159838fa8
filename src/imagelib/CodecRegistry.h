// The one table of codecs the dispatcher consults. Each format adds an entry in
// CodecRegistry.cpp (or, for codecs outside the core target, through Register).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace vimg {

class File;
class Image;

struct CodecEntry {
    uint32_t type = 0;    // format id the entry decodes and encodes
    int probeOrder = -1;  // position in the unknown-type pass; negative: not tried there
    bool detectsType = false; // the reader recognises several formats and sets the type it found
    std::unique_ptr<Image> (*create)() = nullptr;
    bool (*decode)(Image& codec, File* stream) = nullptr;
    bool (*encode)(Image& codec, File* stream) = nullptr;
    // Multipage writer (GIF animations, multipage TIFF); null when the format has none.
    bool (*encodeMulti)(Image& codec, File* stream, Image** images, int32_t count) = nullptr;
};

class CodecRegistry {
public:
    static void Register(const CodecEntry& entry);
    static const CodecEntry* Find(uint32_t type);
    // Entries of the unknown-type pass in the order they are tried.
    static std::vector<const CodecEntry*> ProbeOrder();
};

// Builds an entry for a codec class deriving from Image with Decode(File*) and Encode(File*).
template <class Codec>
CodecEntry MakeCodecEntry(uint32_t type, int probeOrder) {
    CodecEntry e;
    e.type = type;
    e.probeOrder = probeOrder;
    e.create = []() -> std::unique_ptr<Image> { return std::make_unique<Codec>(); };
    e.decode = [](Image& codec, File* f) { return static_cast<Codec&>(codec).Decode(f); };
    e.encode = [](Image& codec, File* f) { return static_cast<Codec&>(codec).Encode(f); };
    return e;
}

} // namespace vimg
