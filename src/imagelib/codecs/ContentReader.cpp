#include "ContentReader.h"

#include "../File.h"
#include "ImageJ2K.h"
#include "ImagePGX.h"
#include "ImagePNM.h"
#include "ImageRAS.h"

#include <memory>

namespace vimg {

bool DecodeByContent(Image& target, File* stream) {
    if (!stream) return false;
    const int32_t start = stream->Tell();
    uint8_t head[12] = {};
    const size_t got = stream->Read(head, 1, sizeof(head));
    if (!stream->Seek(start, 0)) return false;

    std::unique_ptr<Image> codec;
    const auto decode = [&](auto* c) {
        codec.reset(c);
        c->CopyInfo(target);
        return c->Decode(stream);
    };
    bool ok = false;
    if (ImageJ2K::IsJp2(head, got) || ImageJ2K::IsCodestream(head, got)) {
        ok = decode(new ImageJ2K());
    } else if (got >= 2 && head[0] == 'P' && head[1] >= '1' && head[1] <= '6') {
        ok = decode(new ImagePNM());
    } else if (got >= 2 && head[0] == 'P' && head[1] == 'G') {
        ok = decode(new ImagePGX());
    } else if (got >= 4 && head[0] == 0x59 && head[1] == 0xA6 && head[2] == 0x6A && head[3] == 0x95) {
        ok = decode(new ImageRAS());
    } else {
        target.SetLastError("error: cannot decode image");
        return false;
    }
    if (ok) return target.Transfer(*codec);
    target.SetLastError(codec->GetLastError());
    return false;
}

} // namespace vimg
