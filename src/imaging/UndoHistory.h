// The eight-step history of a document's image. Every step is kept
// LZ4-compressed in blocks, so eight steps of a large picture cost what they
// compress to rather than eight whole pictures; undo and redo give back the
// exact bytes. A step recorded for a worker's change is packed ahead on the
// worker thread and only handed over at the finish.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <vector>

namespace vimg {
class Image;
}

class CUndoHistory {
public:
    static constexpr int kSteps = 8;

    CUndoHistory();
    ~CUndoHistory();
    CUndoHistory(const CUndoHistory&) = delete;
    CUndoHistory& operator=(const CUndoHistory&) = delete;

    // Number of undo steps; also the slot a redo takes.
    int Level() const { return m_level; }
    bool HasStep(int slot) const;
    bool CanUndo() const { return m_level > 0; }
    bool CanRedo() const { return m_level < kSteps && HasStep(m_level); }

    // Records `image` as the newest step: drops the oldest step when all
    // eight are used and every step a redo could have brought back. An
    // invalid image records nothing. False when memory ran out (nothing kept).
    bool Submit(const vimg::Image& image);
    struct Step;
    struct StepDeleter {
        void operator()(Step* step) const;
    };
    using PackedStep = std::unique_ptr<Step, StepDeleter>;
    // Packs `image` into a step without recording it; reads only the image,
    // so a worker thread may pack while others read the image. Null when
    // memory ran out.
    static PackedStep PackAhead(const vimg::Image& image);
    // Records a step packed ahead as the newest step, as Submit does.
    void SubmitPacked(PackedStep step);

    // Exchanges `current` with the step below the level (undo) or at it
    // (redo) and returns the image of that step; null when there is none
    // (current is then kept).
    std::unique_ptr<vimg::Image> Undo(std::unique_ptr<vimg::Image>& current);
    std::unique_ptr<vimg::Image> Redo(std::unique_ptr<vimg::Image>& current);

    void Clear();
    // Bytes the history holds (compressed blocks and whole steps).
    size_t StoredBytes() const;

private:
    // With releaseSource the image's pixel pages are handed back to the system
    // block by block as they are packed (the image is about to go); should
    // packing fail they are restored, so the image is intact either way.
    static std::unique_ptr<Step> Pack(const vimg::Image& image, bool releaseSource = false);
    // The step's image (null when its data were damaged); the step's blocks are used up.
    static std::unique_ptr<vimg::Image> Unpack(Step& step);
    void MakeRoom();
    std::unique_ptr<vimg::Image> Exchange(int slot, std::unique_ptr<vimg::Image>& current);

    std::array<std::unique_ptr<Step>, kSteps> m_slots;
    int m_level = 0;
};
