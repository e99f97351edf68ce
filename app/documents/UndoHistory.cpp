#include "app/documents/UndoHistory.h"

const char* UndoHistory::Refusal(Outcome outcome) {
    switch (outcome) {
    case Outcome::NothingToUndo:
        return kNoMoreUndo;
    case Outcome::NothingToRedo:
        return kNoMoreRedo;
    default:
        return nullptr;
    }
}

void UndoHistory::AddThisState(const std::function<void(KistWriter&)>& writeBoard) {
    auto state = std::make_unique<clsKistRWRam>();
    writeBoard(*state);
    states_.resize(static_cast<std::size_t>(index_));
    states_.push_back(std::move(state));
    index_ = Count();
}

UndoHistory::Outcome UndoHistory::Undo(const std::function<void(KistReader&)>& readBoard) {
    if (index_ <= 1) {
        return Outcome::NothingToUndo;
    }
    Restore(index_ - 1, readBoard);
    index_ -= 1;
    return Outcome::Restored;
}

UndoHistory::Outcome UndoHistory::Redo(const std::function<void(KistReader&)>& readBoard) {
    if (index_ >= Count()) {
        index_ = Count();
        return Outcome::NothingToRedo;
    }
    Restore(index_ + 1, readBoard);
    index_ += 1;
    return Outcome::Restored;
}

void UndoHistory::Reset() {
    states_.clear();
    index_ = 0;
}

const clsKistRWRam* UndoHistory::State(std::int32_t position) const {
    if (position < 1 || position > Count()) {
        return nullptr;
    }
    return states_[static_cast<std::size_t>(position - 1)].get();
}

void UndoHistory::Restore(std::int32_t position,
                          const std::function<void(KistReader&)>& readBoard) {
    clsKistRWRam& state = *states_[static_cast<std::size_t>(position - 1)];
    state.ResetToStart();
    readBoard(state);
}
