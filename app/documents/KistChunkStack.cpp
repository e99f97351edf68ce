#include "app/documents/KistChunkStack.h"

#include "app/documents/KistError.h"

#include <string>

void KistChunkStack::CheckCanBegin() const {
    if (depth_ >= kMaxDepth) {
        throw KistNestingError("cannot begin a chunk: " + std::to_string(kMaxDepth) +
                               " chunks are already open");
    }
}

void KistChunkStack::Push(std::int64_t lengthFieldPos) {
    CheckCanBegin();
    ++depth_;
    starts_[static_cast<std::size_t>(depth_)] = lengthFieldPos;
}

std::int64_t KistChunkStack::Innermost() const {
    if (depth_ == 0) {
        throw KistNestingError("cannot end a chunk: no chunk is open");
    }
    return starts_[static_cast<std::size_t>(depth_)];
}

void KistChunkStack::Pop() {
    if (depth_ > 0) {
        starts_[static_cast<std::size_t>(depth_)] = 0;
        --depth_;
    }
}

std::int64_t KistChunkStack::Start(std::int32_t d) const {
    if (d < 1 || d > depth_) {
        return 0;
    }
    return starts_[static_cast<std::size_t>(d)];
}
