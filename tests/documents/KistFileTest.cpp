// What only the file streams do: opening, closing, failures of the file system, and files
// larger than their buffers.

#include "app/documents/KistError.h"
#include "app/documents/clsKistRFile.h"
#include "app/documents/clsKistWFile.h"
#include "tests/documents/KistTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

TEST(KistFileOpen, RefusesMissingFilesAndFolders) {
    TempFolder folder;
    struct Case {
        const char* name;
        std::string path;
        bool forWriting;
        const char* reason;
    };
    const Case cases[] = {
        {"missing file", folder.File("missing.tvb"), false, ": niet gevonden"},
        {"folder, reading", folder.Path(), false, ": het is een map"},
        {"folder, writing", folder.Path(), true, ": het is een map"},
        {"file in a missing folder", folder.File("none/board.tvb"), true, ": niet gevonden"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            if (c.forWriting) {
                clsKistWFile file;
                file.OpenFile(c.path);
            } else {
                clsKistRFile file;
                file.OpenFile(c.path);
            }
            ADD_FAILURE() << "OpenFile did not refuse";
        } catch (const KistOpenError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find(c.path), std::string::npos) << message;
            EXPECT_NE(message.find(c.reason), std::string::npos) << message;
        }
    }
}

TEST(KistFileOpen, OpeningAgainClosesTheFirstFile) {
    TempFolder folder;
    WriteFileBytes(folder.File("a.tvb"), {0x01, 0x00});
    WriteFileBytes(folder.File("b.tvb"), {0x02, 0x00});
    clsKistRFile reader;
    reader.OpenFile(folder.File("a.tvb"));
    EXPECT_EQ(reader.PeekChunkType(), 1);
    reader.OpenFile(folder.File("b.tvb"));
    EXPECT_EQ(reader.PeekChunkType(), 2) << "from the new file's first byte";
    EXPECT_THROW(reader.OpenFile(folder.File("missing.tvb")), KistOpenError);
    EXPECT_EQ(reader.FileNr(), 0);
    EXPECT_THROW(reader.readInt(), KistReadError);
}

TEST(KistFileRead, PastTheEndRaisesAndKeepsThePosition) {
    TempFolder folder;
    const std::string path = folder.File("short.tvb");
    WriteFileBytes(path,
                   {
                       0x41, 0x42, 0x43, // three bytes: short of a Long, a string without its end
                   });
    clsKistRFile file;
    file.OpenFile(path);
    EXPECT_THROW(file.readLong(), KistReadError);
    EXPECT_THROW(file.readSingle(), KistReadError);
    EXPECT_THROW(file.GoIntoChunk(), KistReadError);
    EXPECT_THROW(file.readString(), KistReadError) << "no terminating zero";
    EXPECT_EQ(file.readInt(), 0x4241) << "the failed reads consumed nothing";
    EXPECT_EQ(file.readBool(), 0);
    EXPECT_THROW(file.PeekChunkType(), KistReadError);
    EXPECT_THROW(file.readBool(), KistReadError);
    try {
        file.readInt();
        ADD_FAILURE() << "readInt read past the end";
    } catch (const KistReadError& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
}

TEST(KistFileWrite, WithoutAnOpenFileRaises) {
    clsKistWFile file;
    EXPECT_EQ(file.FileNr(), 0);
    EXPECT_THROW(file.writeLong(1), KistWriteError);
    EXPECT_THROW(file.BeginChunk(1), KistWriteError);
    EXPECT_NO_THROW(file.CloseFile());
}

TEST(KistFileWrite, OpeningAgainCompletesAndCutsTheFirstFile) {
    TempFolder folder;
    WriteFileBytes(folder.File("a.tvb"), Bytes(100, 0xAA));
    clsKistWFile file;
    file.OpenFile(folder.File("a.tvb"));
    file.BeginChunk(1);
    file.writeBool(true);
    file.OpenFile(folder.File("b.tvb"));
    EXPECT_EQ(file.ChunkDepth(), 0) << "the chunk begun in the first file is forgotten";
    const Bytes first{
        0x01, 0x00,             // type 1
        0x00, 0x00, 0x00, 0x00, // length never filled in
        0xFF,                   // Bool true; the old bytes after it are gone
    };
    EXPECT_EQ(ReadFileBytes(folder.File("a.tvb")), first);
}

// /dev/full opens but refuses every byte as a full disk does.
TEST(KistFileWrite, FullDiskIsReportedNotLost) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full here";
    }
    EXPECT_NO_THROW({
        clsKistWFile quiet;
        quiet.OpenFile("/dev/full");
        quiet.writeLong(7);
    }) << "the destructor closes quietly";

    clsKistWFile file;
    file.OpenFile("/dev/full");
    file.BeginChunk(1);
    // More than the writer buffers, so that a write reaches the device.
    EXPECT_THROW(
        for (int i = 0; i < 20000; ++i) { file.writeLong(i); }, KistWriteError);
    EXPECT_THROW(file.writeLong(0), KistWriteError) << "the failure sticks";
    try {
        file.CloseFile();
        FAIL() << "CloseFile reported success";
    } catch (const KistWriteError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("/dev/full"), std::string::npos) << message;
        EXPECT_NE(message.find("de schijf is vol"), std::string::npos) << message;
    }
    EXPECT_EQ(file.FileNr(), 0) << "closed all the same";
    EXPECT_NO_THROW(file.CloseFile());
}

// Streams far larger than the 64 KiB buffers: a chunk whose length field was written to the
// file long before its end, and a string longer than the reader's buffer.
TEST(KistFileLarge, LengthOfALongChunkAndALongStringReadBack) {
    TempFolder folder;
    const std::string path = folder.File("large.tvb");
    // The string starts 102 bytes before the end of the reader's first 64 KiB and is the
    // longest a stream may hold.
    constexpr int kLongs = (65536 - 6 - 100) / 4;
    const std::string longText(999, 'x');
    {
        clsKistWFile file;
        file.OpenFile(path);
        file.BeginChunk(-9510);
        EXPECT_EQ(file.ChunkStarts(1), 2);
        for (int i = 0; i < kLongs; ++i) {
            file.writeLong(i - 5000);
        }
        file.writeString(longText);
        file.EndChunk();
        file.writeBool(true);
        file.CloseFile();
    }
    const Bytes bytes = ReadFileBytes(path);
    const std::size_t payload = kLongs * 4 + longText.size() + 1;
    ASSERT_EQ(bytes.size(), 6 + payload + 1);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 6),
              (Bytes{
                  0xDA, 0xDA,             // type -9510
                  0x7C, 0x03, 0x01, 0x00, // length 65428 + 1000 = 0x01037C
              }));

    clsKistRFile file;
    file.OpenFile(path);
    file.GoIntoChunk();
    int mismatches = 0;
    for (int i = 0; i < kLongs; ++i) {
        mismatches += file.readLong() != i - 5000 ? 1 : 0;
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(file.readString(), longText);
    EXPECT_EQ(file.readBool(), -1);
    EXPECT_THROW(file.readBool(), KistReadError);
}

} // namespace
