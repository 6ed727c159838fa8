#include "ColorQuantizer.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

namespace vimg {

struct ColorQuantizer::Node {
    bool leaf = false;
    uint64_t pixels = 0;
    uint64_t red = 0, green = 0, blue = 0, alpha = 0;
    std::unique_ptr<Node> child[8];
    Node* nextReducible = nullptr;
};

ColorQuantizer::ColorQuantizer(uint32_t maxColors, uint32_t colorBits)
    : m_treeLimit(std::max<uint32_t>(maxColors, 16)), m_requested(maxColors),
      m_colorBits(std::min<uint32_t>(colorBits, 8)) {}

ColorQuantizer::~ColorQuantizer() = default;

void ColorQuantizer::AddColor(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
    std::unique_ptr<Node>* slot = &m_root;
    for (uint32_t level = 0;; ++level) {
        if (!*slot) {
            *slot = std::make_unique<Node>();
            if (level == m_colorBits) {
                (*slot)->leaf = true;
                ++m_leafCount;
            } else {
                (*slot)->nextReducible = m_reducible[level];
                m_reducible[level] = slot->get();
            }
        }
        Node* n = slot->get();
        if (n->leaf) {
            ++n->pixels;
            n->red += red;
            n->green += green;
            n->blue += blue;
            n->alpha += alpha;
            break;
        }
        const uint32_t shift = 7 - level;
        const uint32_t mask = 0x80u >> level;
        const uint32_t index =
            (((red & mask) >> shift) << 2) | (((green & mask) >> shift) << 1) | ((blue & mask) >> shift);
        slot = &n->child[index];
    }
    while (m_leafCount > m_treeLimit && Reduce()) {
    }
}

bool ColorQuantizer::Reduce() {
    if (m_colorBits == 0) return false;
    uint32_t level = m_colorBits - 1;
    while (level > 0 && !m_reducible[level])
        --level;
    Node* n = m_reducible[level];
    if (!n) return false;
    m_reducible[level] = n->nextReducible;
    uint32_t merged = 0;
    for (auto& c : n->child) {
        if (!c) continue;
        n->pixels += c->pixels;
        n->red += c->red;
        n->green += c->green;
        n->blue += c->blue;
        n->alpha += c->alpha;
        c.reset();
        ++merged;
    }
    n->leaf = true;
    m_leafCount = m_leafCount + 1 - merged;
    return true;
}

bool ColorQuantizer::ProcessImage(const void* dib, size_t size) {
    if (!dib || size < 40) return false;
    const auto* block = static_cast<const uint8_t*>(dib);
    const auto u32 = [&](size_t at) {
        uint32_t v;
        std::memcpy(&v, block + at, 4);
        return v;
    };
    const auto width = static_cast<int32_t>(u32(4));
    const auto rawHeight = static_cast<int32_t>(u32(8));
    const uint32_t bpp = u32(12) >> 16;
    const uint32_t compression = u32(16);
    uint32_t colours = u32(32);
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24) return false;
    if (compression != 0 || width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN) return false;
    if (bpp <= 8 && colours == 0) colours = 1u << bpp;
    if (colours > 256) return false;
    const uint64_t height =
        static_cast<uint64_t>(rawHeight < 0 ? -static_cast<int64_t>(rawHeight) : rawHeight);
    const uint64_t stride = ((static_cast<uint64_t>(width) * bpp + 31) / 32) * 4;
    const uint64_t pixelsAt = 40 + 4ull * colours;
    if (pixelsAt + stride * height > size) return false;
    RGBQUAD palette[256];
    std::memcpy(palette, block + 40, 4ull * colours);

    for (uint64_t y = 0; y < height; ++y) {
        const uint8_t* row = block + pixelsAt + y * stride;
        for (int32_t x = 0; x < width; ++x) {
            if (bpp == 24) {
                const uint8_t* p = row + static_cast<size_t>(x) * 3;
                AddColor(p[2], p[1], p[0], 0);
                continue;
            }
            uint32_t index;
            if (bpp == 8)
                index = row[x];
            else if (bpp == 4)
                index = (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
            else
                index = (row[x >> 3] >> (7 - (x & 7))) & 1;
            const RGBQUAD c = index < colours ? palette[index] : RGBQUAD{};
            AddColor(c.rgbRed, c.rgbGreen, c.rgbBlue, c.rgbReserved);
        }
    }
    return true;
}

void ColorQuantizer::SetColorTable(RGBQUAD* table, size_t capacity) const {
    if (!table) return;
    struct Leaf {
        uint64_t red, green, blue, alpha, pixels;
    };
    std::vector<Leaf> leaves;
    const std::function<void(const Node*)> walk = [&](const Node* n) {
        if (!n) return;
        if (n->leaf) {
            leaves.push_back(Leaf{n->red / n->pixels, n->green / n->pixels, n->blue / n->pixels,
                                  n->alpha / n->pixels, n->pixels});
            return;
        }
        for (const auto& c : n->child)
            walk(c.get());
    };
    walk(m_root.get());
    const auto put = [&](size_t i, const Leaf& l) {
        table[i] = RGBQUAD{static_cast<uint8_t>(l.blue), static_cast<uint8_t>(l.green),
                           static_cast<uint8_t>(l.red), static_cast<uint8_t>(l.alpha)};
    };
    if (m_requested == 0 || m_requested >= 16 || m_requested >= leaves.size()) {
        for (size_t i = 0; i < std::min(capacity, leaves.size()); ++i)
            put(i, leaves[i]);
        return;
    }
    // Fewer entries than leaves: entry c averages leaves c*L/R .. (c+1)*L/R - 1,
    // each weighted by its pixel count.
    const size_t count = leaves.size();
    for (size_t c = 0; c < std::min<size_t>(m_requested, capacity); ++c) {
        Leaf sum{0, 0, 0, 0, 0};
        for (size_t i = c * count / m_requested; i < (c + 1) * count / m_requested; ++i) {
            sum.red += leaves[i].red * leaves[i].pixels;
            sum.green += leaves[i].green * leaves[i].pixels;
            sum.blue += leaves[i].blue * leaves[i].pixels;
            sum.alpha += leaves[i].alpha * leaves[i].pixels;
            sum.pixels += leaves[i].pixels;
        }
        if (sum.pixels == 0) continue;
        put(c, Leaf{sum.red / sum.pixels, sum.green / sum.pixels, sum.blue / sum.pixels,
                    sum.alpha / sum.pixels, 0});
    }
}

} // namespace vimg
