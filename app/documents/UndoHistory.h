#pragma once
// The undo history: every change the user makes by clicking is recorded as a whole board
// document in a memory stream; undo and redo read one back. Positions count from 1; the
// index is the position of the snapshot the board now shows, 0 while the history is empty.

#include "app/documents/clsKistRWRam.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class UndoHistory {
public:
    /// What an undo or redo did.
    enum class Outcome {
        Restored,
        /// The index was at 1 or below: nothing to go back to.
        NothingToUndo,
        /// The index was at the last snapshot: nothing to go forward to.
        NothingToRedo,
    };

    /// What the window says, with the title below and an OK button, when there is nothing
    /// left to undo or to redo.
    static constexpr const char* kNoMoreUndo = "No more Undo's possible";
    static constexpr const char* kNoMoreRedo = "No more Redo's possible";
    static constexpr const char* kMessageTitle = "Tavelon";
    /// kNoMoreUndo or kNoMoreRedo for an outcome that restored nothing; nullptr for Restored.
    static const char* Refusal(Outcome outcome);

    /// Records the present board: drops every snapshot after the index, lets `writeBoard`
    /// write the board into a new memory stream, appends it and moves the index to it. When
    /// `writeBoard` throws, the exception is passed on and the history is as it was.
    void AddThisState(const std::function<void(KistWriter&)>& writeBoard);

    /// Restores the snapshot before the index through `readBoard` (given the stream rewound
    /// to its start). With the index at 1 or below, restores nothing and gives NothingToUndo;
    /// the index stays (at 1, or 0 for an empty history). When `readBoard` throws, the
    /// exception is passed on and the index is as it was.
    Outcome Undo(const std::function<void(KistReader&)>& readBoard);

    /// Restores the snapshot after the index, as Undo does. At the last snapshot, gives
    /// NothingToRedo; the index stays at the history's length.
    Outcome Redo(const std::function<void(KistReader&)>& readBoard);

    /// Forgets every snapshot; the index becomes 0.
    void Reset();

    /// Position of the snapshot the board shows, 1 to Count(); 0 when empty.
    std::int32_t Index() const { return index_; }
    /// Number of snapshots kept.
    std::int32_t Count() const { return static_cast<std::int32_t>(states_.size()); }
    /// Whether undo has a snapshot to go back to (index 2 or more).
    bool CanUndo() const { return index_ >= 2; }
    /// Whether redo has a snapshot to go forward to (index below the length).
    bool CanRedo() const { return index_ < Count(); }
    /// The snapshot at `position` (1 to Count()), for inspection; nullptr outside that range.
    const clsKistRWRam* State(std::int32_t position) const;

private:
    // Rewinds the snapshot at `position` and reads it through `readBoard`.
    void Restore(std::int32_t position, const std::function<void(KistReader&)>& readBoard);

    std::vector<std::unique_ptr<clsKistRWRam>> states_;
    std::int32_t index_ = 0;
};
