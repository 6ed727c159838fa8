#include "UndoHistory.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <thread>

#include <lz4.h>
#include <sys/mman.h>
#include <unistd.h>

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

// Hands the whole pages inside [from, from + length) back to the system; they
// read as zeros afterwards. True when the range held at least one page.
bool ReleasePages(char* from, size_t length) {
    static const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    const auto start = (reinterpret_cast<uintptr_t>(from) + page - 1) / page * page;
    const auto end = (reinterpret_cast<uintptr_t>(from) + length) / page * page;
    if (end <= start) return false;
    return madvise(reinterpret_cast<void*>(start), end - start, MADV_DONTNEED) == 0;
}

// One compressed block in memory mapped for it alone, so that releasing it
// gives the pages back to the system at once; blocks freed to the heap could
// stay resident and make an undo hold the picture twice.
class PackedBlock {
public:
    PackedBlock() = default;
    PackedBlock(const PackedBlock&) = delete;
    PackedBlock& operator=(const PackedBlock&) = delete;
    ~PackedBlock() { Reset(); }

    // Copies `size` bytes into a fresh mapping; false when there is no memory.
    bool Assign(const char* bytes, size_t size) {
        Reset();
        void* mapped = mmap(nullptr, std::max<size_t>(size, 1), PROT_READ | PROT_WRITE,
                            MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED) return false;
        m_data = static_cast<char*>(mapped);
        m_size = size;
        std::memcpy(m_data, bytes, size);
        return true;
    }
    void Reset() {
        if (m_data) munmap(m_data, std::max<size_t>(m_size, 1));
        m_data = nullptr;
        m_size = 0;
    }
    const char* Data() const { return m_data; }
    size_t Size() const { return m_size; }

private:
    char* m_data = nullptr;
    size_t m_size = 0;
};

} // namespace

struct CUndoHistory::Step {
    // Information block, header, palette, alpha plane and selection of the
    // step. Its pixel block is allocated but never written until the step
    // is unpacked into it, so the pages stay unused.
    std::unique_ptr<vimg::Image> shell;
    std::vector<PackedBlock> blocks;
};

void CUndoHistory::StepDeleter::operator()(Step* step) const { delete step; }

CUndoHistory::CUndoHistory() = default;
CUndoHistory::~CUndoHistory() = default;

bool CUndoHistory::HasStep(int slot) const { return slot >= 0 && slot < kSteps && m_slots[slot] != nullptr; }

std::unique_ptr<CUndoHistory::Step> CUndoHistory::Pack(const vimg::Image& image, bool releaseSource) {
    try {
        auto step = std::make_unique<Step>();
        step->shell = std::make_unique<vimg::Image>(image, false, true, true);
        if (!step->shell->IsValid()) return nullptr;
        auto* source = static_cast<char*>(image.GetDIB());
        const size_t size = image.GetSize();
        step->blocks = std::vector<PackedBlock>((size + kBlock - 1) / kBlock);
        std::vector<char> released(step->blocks.size(), 0);
        bool failed = false;
        OnBothCores(step->blocks.size(), [&](size_t i) {
            const size_t offset = i * kBlock;
            const int length = static_cast<int>(std::min(kBlock, size - offset));
            try {
                // One scratch buffer per thread, reused for every block it packs.
                thread_local std::vector<char> scratch;
                scratch.resize(static_cast<size_t>(LZ4_compressBound(length)));
                const int packed = LZ4_compress_default(source + offset, scratch.data(), length,
                                                        static_cast<int>(scratch.size()));
                if (packed <= 0 || !step->blocks[i].Assign(scratch.data(), static_cast<size_t>(packed))) {
                    failed = true;
                    return;
                }
                if (releaseSource) released[i] = ReleasePages(source + offset, static_cast<size_t>(length));
            } catch (const std::bad_alloc&) {
                failed = true;
            }
        });
        if (failed) {
            // Give the source back the blocks whose pages already went.
            for (size_t i = 0; i < released.size(); ++i) {
                if (!released[i]) continue;
                const size_t offset = i * kBlock;
                const int length = static_cast<int>(std::min(kBlock, size - offset));
                const PackedBlock& in = step->blocks[i];
                LZ4_decompress_safe(in.Data(), source + offset, static_cast<int>(in.Size()), length);
            }
            return nullptr;
        }
        return step;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

std::unique_ptr<vimg::Image> CUndoHistory::Unpack(Step& step) {
    auto* target = static_cast<char*>(step.shell->GetDIB());
    const size_t size = step.shell->GetSize();
    bool failed = false;
    OnBothCores(step.blocks.size(), [&](size_t i) {
        const size_t offset = i * kBlock;
        const int length = static_cast<int>(std::min(kBlock, size - offset));
        PackedBlock& in = step.blocks[i];
        if (LZ4_decompress_safe(in.Data(), target + offset, static_cast<int>(in.Size()), length) != length)
            failed = true;
        // Each block goes as soon as it is unpacked: the step never exists twice.
        in.Reset();
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

CUndoHistory::PackedStep CUndoHistory::PackAhead(const vimg::Image& image) {
    if (!image.IsValid()) return nullptr;
    return PackedStep(Pack(image).release());
}

void CUndoHistory::SubmitPacked(PackedStep step) {
    MakeRoom();
    if (step) m_slots[m_level++].reset(step.release());
}

std::unique_ptr<vimg::Image> CUndoHistory::Exchange(int slot, std::unique_ptr<vimg::Image>& current) {
    if (!m_slots[slot] || !current) return nullptr;
    // The current picture's pages go as they are packed, and the step's blocks as
    // they are unpacked: one whole picture at a time plus the compressed steps.
    std::unique_ptr<Step> packed = Pack(*current, true);
    if (!packed) return nullptr;
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
        for (const PackedBlock& block : slot->blocks) total += block.Size();
        if (const vimg::Image* shell = slot->shell.get()) {
            const size_t plane = static_cast<size_t>(shell->GetWidth()) * shell->GetHeight();
            total += (shell->AlphaIsValid() ? plane : 0) + (shell->SelectionIsValid() ? plane : 0);
        }
    }
    return total;
}
