#pragma once

#include "../Image.h"

#include <string>

namespace vimg {

class File;

// GIF reader (frames, animations composed on a canvas, true-colour mosaics) and
// GIF89a writer (single images, animations, true-colour tiles) — format id 2.
class ImageGIF : public Image {
public:
    ImageGIF() : Image(FORMAT_GIF) {}
    bool Decode(File* stream);
    bool Encode(File* stream);
    // Animation from `count` images; later frames get a local palette when
    // `localColorMap` is set or their palette differs from the first image's.
    bool Encode(File* stream, Image** images, int32_t count, bool localColorMap = false);

    void SetComment(const char* text);
    const char* GetComment() const { return m_comment.c_str(); }
    // Number of plays written to an animation: 1 = once (no loop block), 0 = forever.
    void SetLoops(int32_t loops) { m_loops = loops; }
    int32_t GetLoops() const { return m_loops; }
    void SetDisposalMethod(int32_t method) { m_disposal = method; }
    int32_t GetDisposalMethod() const { return m_disposal; }

private:
    // Run-length coder state: the decoder's next free code as the encoder mirrors it.
    struct tag_RLE {
        int32_t freeCode = 0;
        bool firstAfterClear = true;
    };

    void EncodeHeader(File* stream);
    void EncodeColorTable(File* stream); // the palette as RGB triplets
    void EncodeLoopExtension(File* stream);
    void EncodeExtension(File* stream);
    void EncodeComment(File* stream);
    bool EncodeBody(File* stream, bool localColorMap);
    bool EncodeRGB(File* stream);
    bool WriteBytes(File* stream, const uint8_t* data, size_t size);

    // Code-stream writers; `initBits` is the minimum code size + 1.
    void compressLZW(int initBits);
    void compressNONE(int initBits);
    void compressRLE(int initBits);
    int32_t NextPixel();
    void StartCodes(int initBits);
    void Output(int32_t code);
    void ClearBlock();
    void EmitRun(tag_RLE& rle, uint8_t colour, uint32_t length);
    void EmitRleCode(tag_RLE& rle, int32_t code);
    void FlushPacket();

    std::string m_comment;
    int32_t m_loops = 0;
    int32_t m_disposal = 0;
    bool m_writeError = false;

    // Encoder state for one code stream.
    int32_t m_curX = 0, m_curY = 0; // m_curY counts down from the top row
    int64_t m_countDown = 0;
    int m_initBits = 0, m_nBits = 0;
    int32_t m_maxCode = 0, m_clearCode = 0, m_eofCode = 0, m_freeEnt = 0;
    bool m_clearFlag = false;
    uint32_t m_curAccum = 0;
    int m_curBits = 0;
    uint8_t m_accum[256] = {};
    int m_aCount = 0;
    File* m_out = nullptr;
    int32_t m_htab[5003] = {};
    uint16_t m_codetab[5003] = {};
};

} // namespace vimg
