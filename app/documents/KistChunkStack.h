#pragma once
// The chunks a writer has begun and not yet ended: for each, the stream position of its
// length field, which EndChunk fills in.

#include <array>
#include <cstdint>

class KistChunkStack {
public:
    /// The most chunks that can be open at once.
    static constexpr std::int32_t kMaxDepth = 100;

    /// Raises KistNestingError when kMaxDepth chunks are already open.
    void CheckCanBegin() const;
    /// Records a newly begun chunk whose length field starts at `lengthFieldPos`. The caller
    /// has called CheckCanBegin first.
    void Push(std::int64_t lengthFieldPos);
    /// The position of the innermost open chunk's length field; raises KistNestingError when
    /// no chunk is open.
    std::int64_t Innermost() const;
    /// Forgets the innermost open chunk; does nothing when none is open.
    void Pop();
    /// Forgets every open chunk.
    void Clear() { depth_ = 0; }

    /// The number of open chunks, 0 to kMaxDepth.
    std::int32_t Depth() const { return depth_; }
    /// The length field position of the open chunk at depth `d` (1 = outermost); 0 for a
    /// depth with no open chunk.
    std::int64_t Start(std::int32_t d) const;

private:
    // Index 0 stays unused, so that the chunk at depth d is at index d.
    std::array<std::int64_t, kMaxDepth + 1> starts_{};
    std::int32_t depth_ = 0;
};
