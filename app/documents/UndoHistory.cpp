#include "app/documents/UndoHistory.h"

#include "platform/ui/Prompter.h"

namespace {

void Tell(const char* text) {
    Prompter::Current().Message(text, UndoHistory::kMessageTitle, Prompter::Buttons::Ok,
                                Prompter::Icon::None);
}

} // namespace

void UndoHistory::AddThisState(const std::function<void(KistWriter&)>& writeBoard) {
    auto state = std::make_unique<clsKistRWRam>();
    writeBoard(*state);
    states_.resize(static_cast<std::size_t>(index_));
    states_.push_back(std::move(state));
    index_ = Count();
}

bool UndoHistory::Undo(const std::function<void(KistReader&)>& readBoard) {
    if (index_ <= 1) {
        Tell(kNoMoreUndo);
        return false;
    }
    Restore(index_ - 1, readBoard);
    index_ -= 1;
    return true;
}

bool UndoHistory::Redo(const std::function<void(KistReader&)>& readBoard) {
    if (index_ >= Count()) {
        Tell(kNoMoreRedo);
        index_ = Count();
        return false;
    }
    Restore(index_ + 1, readBoard);
    index_ += 1;
    return true;
}

bool UndoHistory::Rollback(const std::function<void(KistReader&)>& readBoard) {
    if (index_ <= 1) {
        Tell(kNoMoreUndo);
        return false;
    }
    Restore(index_ - 1, readBoard);
    states_.erase(states_.begin() + (index_ - 1));
    index_ -= 1;
    return true;
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
