#include "UndoHistory.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <thread>

#include <lz4.h>

#include "Image.h"

namespace {

// Blocks small enough to spread over both cores, large enough for LZ4 to find its matches.
constexpr size_t kBlock = size_t{4} << 20;

// Runs body(i) for i in [0, count) on two threads.
template <typename Body>
void OnBothCores(size_t count, Body body) {
    if (count < 2) {
        for (size_t i = 0; i < count; ++i) body(i);
        return;
    }
    std::thread other([&] {
        for (size_t i = 1; i < count; i += 2) body(i);
    });
    for (size_t i = 0; i < count; i += 2) body(i);
    other.join();
}

} // namespace

struct CUndoHistory::Step {
    // A step is either whole, or a shell plus the compressed pixel block.
    std::unique_ptr<vimg::Image> whole;
    // Information block, header, palette, alpha plane and selection of the
    // step. Its pixel block is allocated but never written until the step
    // is unpacked into it, so the pages stay unused.
    std::unique_ptr<vimg::Image> shell;
    std::vector<std::vector<char>> blocks;
    // A whole step's compressed form made by PrepareSeal.
    std::unique_ptr<Step> sealed;
};

CUndoHistory::CUndoHistory() = default;
CUndoHistory::~CUndoHistory() = default;

bool CUndoHistory::HasStep(int slot) const { return slot >= 0 && slot < kSteps && m_slots[slot] != nullptr; }

std::unique_ptr<CUndoHistory::Step> CUndoHistory::Pack(const vimg::Image& image) const {
    try {
        auto step = std::make_unique<Step>();
        step->shell = std::make_unique<vimg::Image>(image, false, true, true);
        if (!step->shell->IsValid()) return nullptr;
        const auto* source = static_cast<const char*>(image.GetDIB());
        const size_t size = image.GetSize();
        step->blocks.resize((size + kBlock - 1) / kBlock);
        bool failed = false;
        OnBothCores(step->blocks.size(), [&](size_t i) {
            const size_t offset = i * kBlock;
            const int length = static_cast<int>(std::min(kBlock, size - offset));
            std::vector<char>& out = step->blocks[i];
            try {
                out.resize(static_cast<size_t>(LZ4_compressBound(length)));
                const int packed = LZ4_compress_default(source + offset, out.data(), length, static_cast<int>(out.size()));
                if (packed <= 0) failed = true;
                out.resize(static_cast<size_t>(std::max(packed, 0)));
                out.shrink_to_fit();
            } catch (const std::bad_alloc&) {
                failed = true;
            }
        });
        if (failed) return nullptr;
        return step;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

std::unique_ptr<vimg::Image> CUndoHistory::Unpack(Step& step) {
    if (step.whole) return std::move(step.whole);
    auto* target = static_cast<char*>(step.shell->GetDIB());
    const size_t size = step.shell->GetSize();
    bool failed = false;
    OnBothCores(step.blocks.size(), [&](size_t i) {
        const size_t offset = i * kBlock;
        const int length = static_cast<int>(std::min(kBlock, size - offset));
        std::vector<char>& in = step.blocks[i];
        if (LZ4_decompress_safe(in.data(), target + offset, static_cast<int>(in.size()), length) != length)
            failed = true;
        // Each block goes as soon as it is unpacked: the step never exists twice.
        std::vector<char>().swap(in);
    });
    return failed ? nullptr : std::move(step.shell);
}

void CUndoHistory::MakeRoom() {
    if (m_level > kSteps - 1) {
        // The oldest step goes; the history never exceeds eight.
        std::move(m_slots.begin() + 1, m_slots.end(), m_slots.begin());
        m_slots[kSteps - 1].reset();
        m_level = kSteps - 1;
    }
    for (int i = m_level; i < kSteps; ++i) m_slots[i].reset();
}

bool CUndoHistory::Submit(const vimg::Image& image) {
    MakeRoom();
    if (!image.IsValid()) return true;
    std::unique_ptr<Step> step = Pack(image);
    if (!step) return false;
    m_slots[m_level++] = std::move(step);
    return true;
}

const vimg::Image* CUndoHistory::SubmitWhole(const vimg::Image& image) {
    MakeRoom();
    if (!image.IsValid()) return nullptr;
    try {
        auto step = std::make_unique<Step>();
        step->whole = std::make_unique<vimg::Image>(image);
        if (!step->whole->IsValid()) return nullptr;
        const vimg::Image* whole = step->whole.get();
        m_slots[m_level++] = std::move(step);
        return whole;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void CUndoHistory::PrepareSeal() {
    for (std::unique_ptr<Step>& slot : m_slots)
        if (slot && slot->whole && !slot->sealed) slot->sealed = Pack(*slot->whole);
}

void CUndoHistory::Seal() {
    for (std::unique_ptr<Step>& slot : m_slots) {
        if (!slot || !slot->whole) continue;
        if (slot->sealed) {
            slot = std::move(slot->sealed);
            continue;
        }
        // A step that cannot be compressed stays whole: still exact.
        if (std::unique_ptr<Step> packed = Pack(*slot->whole)) slot = std::move(packed);
    }
}

std::unique_ptr<vimg::Image> CUndoHistory::Exchange(int slot, std::unique_ptr<vimg::Image>& current) {
    if (!m_slots[slot] || !current) return nullptr;
    std::unique_ptr<Step> packed = Pack(*current);
    if (!packed) return nullptr;
    // The current picture goes before the step is unpacked: one whole picture at a time.
    current.reset();
    std::unique_ptr<vimg::Image> restored = Unpack(*m_slots[slot]);
    if (!restored) {
        // Damaged history: the picture stays, the steps go.
        current = Unpack(*packed);
        Clear();
        return nullptr;
    }
    m_slots[slot] = std::move(packed);
    return restored;
}

std::unique_ptr<vimg::Image> CUndoHistory::Undo(std::unique_ptr<vimg::Image>& current) {
    if (!CanUndo()) return nullptr;
    std::unique_ptr<vimg::Image> restored = Exchange(m_level - 1, current);
    if (restored) --m_level;
    return restored;
}

std::unique_ptr<vimg::Image> CUndoHistory::Redo(std::unique_ptr<vimg::Image>& current) {
    if (!CanRedo()) return nullptr;
    std::unique_ptr<vimg::Image> restored = Exchange(m_level, current);
    if (restored) ++m_level;
    return restored;
}

void CUndoHistory::Clear() {
    for (std::unique_ptr<Step>& slot : m_slots) slot.reset();
    m_level = 0;
}

size_t CUndoHistory::StoredBytes() const {
    size_t total = 0;
    for (const std::unique_ptr<Step>& slot : m_slots) {
        if (!slot) continue;
        if (slot->whole) total += slot->whole->GetSize();
        for (const std::vector<char>& block : slot->blocks) total += block.size();
        if (const vimg::Image* shell = slot->shell.get()) {
            const size_t plane = static_cast<size_t>(shell->GetWidth()) * shell->GetHeight();
            total += (shell->AlphaIsValid() ? plane : 0) + (shell->SelectionIsValid() ? plane : 0);
        }
    }
    return total;
}
