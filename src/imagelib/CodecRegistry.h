// The one table of formats and codecs: the dispatcher picks codecs from it, and
// the command-line tool and the file dialog take the formats' names, extensions
// and abilities from it. Each format adds an entry in CodecRegistry.cpp (or, for
// codecs outside the core target, through Register).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vimg {

class File;
class Image;

struct CodecEntry {
    uint32_t type = 0;    // format id the entry decodes and encodes
    const char* name = "";  // short name: "BMP", "JPG", ...
    const char* label = ""; // what a file dialog calls its files ("ICO CUR" files, "WMF EMF" files)
    // Lower-case extensions that name the format; new files get the first.
    std::vector<std::string> extensions;
    // Further patterns a file dialog lists with the format although their
    // extension names no format (cursors: read by content as icons).
    std::vector<std::string> listedToo;
    bool reads = true;
    bool writes = true;
    bool multiFrame = false; // a file may hold several frames or pages
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
    // Every format in the order file dialogs list them.
    static std::vector<const CodecEntry*> Formats();
    // Format id that a file name's extension (after the last '.' of its last
    // path element, any case) or a bare extension names; 0 when none does.
    static uint32_t TypeOfFileName(std::string_view fileName);
    static uint32_t TypeOfExtension(std::string_view extension);
    // Entries of the unknown-type pass in the order they are tried.
    static std::vector<const CodecEntry*> ProbeOrder();
    // Format id that the first bytes of a file announce by their signature; 0
    // when they announce none (TGA and WBMP files have no signature).
    static constexpr size_t kSignatureBytes = 44;
    static uint32_t TypeOfContent(const uint8_t* head, size_t size);
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
