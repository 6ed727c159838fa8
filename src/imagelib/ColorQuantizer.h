// Octree colour quantiser: builds an optimised palette of at most a requested
// number of colours from the pixels of a packed bitmap.
#pragma once

#include "ImageTypes.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace vimg {

class ColorQuantizer {
public:
    // colorBits is the tree depth (1..8; larger values count as 8). The tree
    // may hold max(maxColors, 16) leaves before it is reduced.
    ColorQuantizer(uint32_t maxColors, uint32_t colorBits);
    ~ColorQuantizer();
    ColorQuantizer(const ColorQuantizer&) = delete;
    ColorQuantizer& operator=(const ColorQuantizer&) = delete;

    // Adds every pixel of a packed bitmap (40-byte header, palette, rows padded
    // to 4 bytes) of `size` bytes. Depths 1, 4, 8 and 24 only; false otherwise
    // and for a block too short for its header.
    bool ProcessImage(const void* dib, size_t size);
    void AddColor(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha);
    uint32_t GetColorCount() const { return m_leafCount; }
    uint32_t GetColorBits() const { return m_colorBits; }
    // Writes the palette as blue, green, red, alpha entries into `table`
    // (at most `capacity` entries; the caller zeroes the rest). With fewer than
    // 16 requested colours, consecutive leaves are merged into each entry.
    void SetColorTable(RGBQUAD* table, size_t capacity) const;

private:
    struct Node;
    // Merges the children of the first node of the deepest reducible list
    // into it; false when no node is left to reduce.
    bool Reduce();

    std::unique_ptr<Node> m_root;
    uint32_t m_leafCount = 0;
    Node* m_reducible[9] = {};
    uint32_t m_treeLimit;
    uint32_t m_requested;
    uint32_t m_colorBits;
};

} // namespace vimg
