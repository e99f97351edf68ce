// What only the memory stream does: zero bytes where nothing was written, its limit for
// reading, growth for writing, and rewinding.

#include "app/documents/KistError.h"
#include "app/documents/clsKistRWRam.h"

#include <gtest/gtest.h>
#include <string>

namespace {

TEST(KistRam, ReadsBackAfterEveryResetToStartAndZeroBytesBeyond) {
    clsKistRWRam ram;
    ASSERT_EQ(ram.Buffer().size(), 64001u);
    ram.BeginChunk(4096);
    ram.writeLong(-5);
    ram.EndChunk();
    for (int pass = 0; pass < 2; ++pass) {
        ram.ResetToStart();
        ram.GoIntoChunk();
        EXPECT_EQ(ram.readLong(), -5);
        EXPECT_EQ(ram.readLong(), 0);
        EXPECT_EQ(ram.readInt(), 0);
        EXPECT_EQ(ram.readSingle(), 0.0f);
        EXPECT_EQ(ram.readString(), "");
        EXPECT_EQ(ram.readBool(), 0);
        EXPECT_EQ(ram.PeekChunkType(), 0);
        EXPECT_EQ(ram.Pos(), 22);
    }
}

TEST(KistRam, ReadingBeyondTheBufferRaisesAndKeepsThePosition) {
    clsKistRWRam ram;
    for (int i = 0; i < 63000 / 4; ++i) {
        ram.writeLong(i);
    }
    ram.writeString(std::string(998, 'a')); // bytes 63000 to 63998, the last the end mark
    ram.ResetToStart();
    for (int i = 0; i < 63000 / 4; ++i) {
        ram.readLong();
    }
    EXPECT_EQ(ram.readString().size(), 998u);
    ASSERT_EQ(ram.Pos(), 63999);
    EXPECT_THROW(ram.readLong(), KistReadError) << "only 2 bytes are left";
    EXPECT_THROW(ram.GoIntoChunk(), KistReadError);
    EXPECT_EQ(ram.readInt(), 0) << "the failed reads consumed nothing";
    EXPECT_THROW(ram.readBool(), KistReadError);
    EXPECT_THROW(ram.readString(), KistReadError);
    EXPECT_THROW(ram.PeekChunkType(), KistReadError);
    EXPECT_EQ(ram.Pos(), 64001);
}

TEST(KistRam, StringWithoutEndInsideTheBufferRaises) {
    clsKistRWRam ram;
    for (int i = 0; i < 32000; ++i) {
        ram.writeInt(0x4141); // "AA"
    }
    ram.writeBool(true); // the buffer's last byte, no end mark either
    ASSERT_EQ(ram.Buffer().size(), 64001u) << "filled exactly, not grown";
    ram.ResetToStart();
    EXPECT_THROW(ram.readString(), KistReadError);
    EXPECT_EQ(ram.Pos(), 0);
}

// A board far larger than the first buffer: the stream grows and reads back whole.
TEST(KistRam, GrowsWhenWrittenPastItsFirstSize) {
    clsKistRWRam ram;
    ram.BeginChunk(-9510);
    ram.BeginChunk(8192);
    constexpr int kWires = 4000;
    for (int i = 0; i < kWires; ++i) {
        ram.writeString("Sensor " + std::to_string(i) + " Uit Geel");
        ram.writeLong(i);
    }
    ram.EndChunk();
    ram.writeBool(true);
    ram.EndChunk();
    const std::int32_t end = ram.Pos();
    ASSERT_GT(end, 90000);
    ram.ResetToStart();
    EXPECT_EQ(ram.readInt(), -9510);
    EXPECT_EQ(ram.readLong(), end - 6) << "length of the outer chunk";
    ram.GoIntoChunk();
    int mismatches = 0;
    for (int i = 0; i < kWires; ++i) {
        mismatches += ram.readString() != "Sensor " + std::to_string(i) + " Uit Geel" ? 1 : 0;
        mismatches += ram.readLong() != i ? 1 : 0;
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(ram.readBool(), -1);
    EXPECT_EQ(ram.Pos(), end);
}

} // namespace
