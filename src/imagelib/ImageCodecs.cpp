// Codec dispatch: Load, Save, Decode and Encode by format id, the unknown-type
// pass, encoding to memory and the raw RGBA dump.
#include "Image.h"

#include "CodecRegistry.h"
#include "DecodeLimit.h"
#include "IOFile.h"
#include "MemFile.h"
#include "SaveFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <system_error>
#include <sys/stat.h>

namespace vimg {

namespace {

// Runs one decoder on a fresh codec object; on success the result moves into `target`.
bool TryDecode(Image& target, const CodecEntry& entry, File* stream, Image*& failed,
               std::unique_ptr<Image>& holder) {
    holder = entry.create();
    holder->CopyInfo(target);
    holder->SetLastError(""); // the decoder's own text, not one left from before
    holder->SetTruncated(false);
    bool decoded = false;
    {
        const DecodeLimit::Scope limited;
        decoded = entry.decode(*holder, stream);
    }
    if (decoded) {
        // A reader that tells formats apart by content keeps the type it found.
        const uint32_t found = holder->GetType();
        target.Transfer(*holder);
        target.SetDecodedType(entry.detectsType && found > 0 && found < FORMAT_COUNT ? found : entry.type);
        return true;
    }
    failed = holder.get();
    return false;
}

// Opens a memory stream, runs `encode` into it and hands the buffer to the caller.
template <class EncodeFn>
bool EncodeToMemory(Image& img, uint8_t*& buffer, int32_t& size, EncodeFn encode) {
    if (buffer) {
        img.SetLastError("the buffer must be empty");
        return false;
    }
    MemFile file;
    if (!file.Open()) {
        img.SetLastError("can't allocate memory");
        return false;
    }
    if (!encode(file)) return false;
    size = file.Size();
    buffer = file.GetBuffer(true);
    return true;
}

// Opens a file for reading; false with a text saying why when it cannot be.
bool OpenForReading(Image& img, IOFile& file, const char* fileName) {
    struct stat st {};
    if (::stat(fileName, &st) == 0 && S_ISDIR(st.st_mode)) {
        img.SetLastError((std::string("cannot read '") + fileName + "': it is a folder").c_str());
        return false;
    }
    if (file.Open(fileName, "rb")) return true;
    img.SetLastError(
        (std::string("cannot open file: ") + fileName + " (" + std::strerror(errno) + ")").c_str());
    return false;
}

} // namespace

bool Image::Load(const char* fileName, uint32_t type) {
    if (!fileName) return false;
    if (type > 0 && type < FORMAT_COUNT) {
        IOFile file;
        if (!OpenForReading(*this, file, fileName)) return false;
        if (Decode(&file, type)) return true;
    }
    const std::string savedError = info.lastError;
    IOFile file;
    if (!OpenForReading(*this, file, fileName)) return false;
    const bool ok = Decode(&file, FORMAT_UNKNOWN);
    if (!ok && type > 0 && type < FORMAT_COUNT) SetLastError(savedError.c_str());
    return ok;
}

bool Image::Save(const char* fileName, uint32_t type) {
    return SaveWith(fileName, [&](File* f) { return Encode(f, type); });
}

bool Image::Save(const char* fileName, Image** images, int32_t count, uint32_t type) {
    return SaveWith(fileName, [&](File* f) { return Encode(f, images, count, type); });
}

bool Image::SaveWith(const char* fileName, const std::function<bool(File*)>& encode) {
    if (!fileName || !*fileName) {
        SetLastError("no file name to save to");
        return false;
    }
    SaveFile file;
    if (!file.Open(fileName)) {
        SetLastError(file.Problem().c_str());
        return false;
    }
    SetLastError("");
    if (!encode(&file)) {
        // The encoder's own text, and the write that made it give up.
        std::string text = GetLastError();
        if (file.WriteFailed()) text = text.empty() ? file.Problem() : text + ": " + file.Problem();
        if (text.empty()) text = std::string("cannot encode '") + fileName + "'";
        SetLastError(text.c_str());
        return false;
    }
    if (!file.Commit()) {
        SetLastError(file.Problem().c_str());
        return false;
    }
    return true;
}

bool Image::Decode(FILE* stream, uint32_t type) {
    IOFile file(stream);
    return Decode(&file, type);
}

bool Image::Decode(uint8_t* buffer, uint32_t size, uint32_t type) {
    MemFile file(buffer, size);
    return Decode(&file, type);
}

bool Image::Decode(File* stream, uint32_t type) {
    if (!stream) {
        SetLastError("null file handler");
        return false;
    }
    std::unique_ptr<Image> codec;
    Image* failed = nullptr;
    if (type == FORMAT_UNKNOWN) {
        const int32_t pos = stream->Tell();
        uint8_t head[CodecRegistry::kSignatureBytes] = {};
        const size_t got = stream->Read(head, 1, sizeof(head));
        stream->Seek(pos, 0);
        // The format the first bytes announce, and what its reader said about the rest.
        const CodecEntry* announced = CodecRegistry::Find(CodecRegistry::TypeOfContent(head, got));
        std::string refusal;
        for (const CodecEntry* entry : CodecRegistry::ProbeOrder()) {
            if (TryDecode(*this, *entry, stream, failed, codec)) return true;
            stream->Seek(pos, 0);
            // Formats without a place in the pass are read by the content-detecting reader.
            if (announced && (entry == announced || (announced->probeOrder < 0 && entry->detectsType)))
                refusal = failed->GetLastError()[0] ? failed->GetLastError() : "damaged or unreadable file";
        }
        if (announced && !refusal.empty())
            SetLastError((std::string("Decode: the content looks like ") + announced->name +
                          " but cannot be read: " + refusal)
                             .c_str());
        else
            SetLastError("Decode: Unknown or wrong format");
        return false;
    }
    const CodecEntry* entry = type < FORMAT_COUNT ? CodecRegistry::Find(type) : nullptr;
    if (!entry || !entry->decode) {
        SetLastError("Decode: Unknown or wrong format");
        return false;
    }
    if (TryDecode(*this, *entry, stream, failed, codec)) return true;
    if (failed->GetLastError()[0]) SetLastError(failed->GetLastError());
    else SetLastError((std::string(entry->name) + ": damaged or unreadable file").c_str());
    // A caller that asked for a frame beyond the end learns how many there are.
    if (entry->multiFrame) info.frameCount = failed->GetNumFrames();
    return false;
}

bool Image::Encode(FILE* stream, uint32_t type) {
    IOFile file(stream);
    return Encode(&file, type);
}

bool Image::Encode(File* stream, uint32_t type) {
    const CodecEntry* entry = (type > 0 && type < FORMAT_COUNT) ? CodecRegistry::Find(type) : nullptr;
    if (!entry || !entry->encode) {
        SetLastError("Encode: Unknown format");
        return false;
    }
    std::unique_ptr<Image> codec = entry->create();
    codec->Ghost(this);
    const bool ok = entry->encode(*codec, stream);
    if (!ok) SetLastError(codec->GetLastError());
    codec->Unghost();
    return ok;
}

bool Image::Encode(uint8_t*& buffer, int32_t& size, uint32_t type) {
    return EncodeToMemory(*this, buffer, size, [&](MemFile& f) { return Encode(&f, type); });
}

bool Image::Encode(FILE* stream, Image** images, int32_t count, uint32_t type) {
    IOFile file(stream);
    return Encode(stream ? &file : nullptr, images, count, type);
}

bool Image::Encode(File* stream, Image** images, int32_t count, uint32_t type) {
    const CodecEntry* entry =
        (type == FORMAT_TIF || type == FORMAT_GIF) ? CodecRegistry::Find(type) : nullptr;
    if (!entry || !entry->encodeMulti) {
        SetLastError("Multipage Encode, Unsupported operation for this format");
        return false;
    }
    std::unique_ptr<Image> codec = entry->create();
    const bool ok = entry->encodeMulti(*codec, stream, images, count);
    if (!ok) SetLastError(codec->GetLastError());
    return ok;
}

bool Image::Encode2RGBA(File* stream) {
    if (EncodeSafeCheck(stream)) return false;
    const int32_t w = head.biWidth, h = head.biHeight;
    const bool indexed = IsIndexed();
    std::unique_ptr<uint8_t[]> row(new uint8_t[static_cast<size_t>(w) * 4]);
    for (int32_t y = 0; y < h; ++y) {
        uint8_t* p = row.get();
        for (int32_t x = 0; x < w; ++x, p += 4) {
            const RGBQUAD c = BlindGetPixelColor(x, y, !indexed);
            p[0] = c.rgbRed;
            p[1] = c.rgbGreen;
            p[2] = c.rgbBlue;
            // Palette images carry their entry's reserved byte; 24-bit images the alpha plane or 0.
            p[3] = c.rgbReserved;
        }
        if (stream->Write(row.get(), 4, static_cast<size_t>(w)) != static_cast<size_t>(w)) {
            SetLastError("Write Error");
            return false;
        }
    }
    return true;
}

bool Image::Encode2RGBA(uint8_t*& buffer, int32_t& size) {
    return EncodeToMemory(*this, buffer, size, [&](MemFile& f) {
        // The dump's size is known: one allocation instead of growing step by step.
        f.Reserve(static_cast<uint64_t>(GetWidth()) * GetHeight() * 4);
        return Encode2RGBA(&f);
    });
}

bool Image::EncodeSafeCheck(File* stream) {
    if (!stream) {
        SetLastError("null file handler");
        return true;
    }
    if (!pDib) {
        SetLastError("null image!!!");
        return true;
    }
    return false;
}

} // namespace vimg
