// Byte layouts that the file streams and the memory stream must agree on, checked against
// annotated byte arrays, and the failures both kinds share. Every stream is written and
// read through the two interfaces only, as the document code does.

#include "app/documents/KistError.h"
#include "app/documents/clsKistRFile.h"
#include "app/documents/clsKistRWRam.h"
#include "app/documents/clsKistWFile.h"
#include "tests/documents/KistTestSupport.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace {

// One step of writing a stream, or of reading it back in the same order.
struct Item {
    enum Kind { Begin, End, Int, Long, Bool, Single, String } kind;
    std::int32_t number = 0;
    float single = 0;
    std::string text;
};

// clang-format off
Item Begin(std::int16_t type) { return {Item::Begin, type, 0, {}}; }
Item End() { return {Item::End, 0, 0, {}}; }
Item Int(std::int16_t i) { return {Item::Int, i, 0, {}}; }
Item Long(std::int32_t l) { return {Item::Long, l, 0, {}}; }
Item Bool(bool b) { return {Item::Bool, b ? -1 : 0, 0, {}}; }
Item Single(float s) { return {Item::Single, 0, s, {}}; }
Item String(std::string s) { return {Item::String, 0, 0, std::move(s)}; }
// clang-format on

void WriteItems(KistWriter& w, const std::vector<Item>& items) {
    for (const Item& item : items) {
        switch (item.kind) {
        case Item::Begin:
            w.BeginChunk(static_cast<std::int16_t>(item.number));
            break;
        case Item::End:
            w.EndChunk();
            break;
        case Item::Int:
            w.writeInt(static_cast<std::int16_t>(item.number));
            break;
        case Item::Long:
            w.writeLong(item.number);
            break;
        case Item::Bool:
            w.writeBool(item.number != 0);
            break;
        case Item::Single:
            w.writeSingle(item.single);
            break;
        case Item::String:
            w.writeString(item.text);
            break;
        }
    }
}

// Readers never leave a chunk: after its last item they stand at the next chunk's header.
// With `refuseLast` the last item must be refused instead.
void ReadItems(KistReader& r, std::vector<Item> items, bool refuseLast = false) {
    if (refuseLast) {
        const Item last = items.back();
        items.pop_back();
        ReadItems(r, items);
        ASSERT_EQ(last.kind, Item::String);
        EXPECT_THROW(r.readString(), KistReadError);
        return;
    }
    for (const Item& item : items) {
        switch (item.kind) {
        case Item::Begin:
            EXPECT_EQ(r.PeekChunkType(), item.number);
            EXPECT_EQ(r.PeekChunkType(), item.number) << "peeking again gives the same type";
            r.GoIntoChunk();
            break;
        case Item::End:
            break;
        case Item::Int:
            EXPECT_EQ(r.readInt(), item.number);
            break;
        case Item::Long:
            EXPECT_EQ(r.readLong(), item.number);
            break;
        case Item::Bool:
            EXPECT_EQ(r.readBool(), item.number);
            break;
        case Item::Single:
            EXPECT_EQ(r.readSingle(), item.single);
            break;
        case Item::String:
            EXPECT_EQ(r.readString(), item.text);
            break;
        }
    }
}

Bytes WrittenToFile(const std::function<void(KistWriter&)>& write) {
    TempFolder folder;
    clsKistWFile file;
    file.OpenFile(folder.File("stream.tvb"));
    write(file);
    file.CloseFile();
    return ReadFileBytes(folder.File("stream.tvb"));
}

Bytes WrittenToRam(const std::function<void(KistWriter&)>& write) {
    clsKistRWRam ram;
    write(ram);
    const auto end = ram.Buffer().begin() + ram.Pos();
    EXPECT_TRUE(std::all_of(end, ram.Buffer().end(), [](std::uint8_t b) { return b == 0; }))
        << "bytes after the position stay zero";
    return Bytes(ram.Buffer().begin(), end);
}

void ReadFromFile(const Bytes& bytes, const std::vector<Item>& items, bool refuseLast) {
    TempFolder folder;
    WriteFileBytes(folder.File("stream.tvb"), bytes);
    clsKistRFile file;
    file.OpenFile(folder.File("stream.tvb"));
    ReadItems(file, items, refuseLast);
}

// Puts `bytes` into a memory stream two at a time as Ints. An odd last byte goes in as an Int
// too: its zero high byte is what the untouched buffer holds anyway.
void ReadFromRam(const Bytes& bytes, const std::vector<Item>& items, bool refuseLast) {
    clsKistRWRam ram;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const int high = i + 1 < bytes.size() ? bytes[i + 1] : 0;
        ram.writeInt(static_cast<std::int16_t>(bytes[i] | (high << 8)));
    }
    ram.ResetToStart();
    ReadItems(ram, items, refuseLast);
}

// Refused: the items before the last read back, the last one is refused.
enum class Way { Both, WriteOnly, ReadOnly, Refused };

struct StreamCase {
    const char* name;
    Way way;
    std::vector<Item> items;
    Bytes bytes;
};

// `head`, then `count` bytes `b`, then `tail`.
Bytes Repeated(Bytes head, std::uint8_t b, std::size_t count, const Bytes& tail) {
    Bytes bytes = std::move(head);
    bytes.insert(bytes.end(), count, b);
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

// clang-format off
const StreamCase kStreamCases[] = {
    {"chunk of type 4096 holding the Long 7", Way::Both,
     {Begin(4096), Long(7), End()},
     {0x00, 0x10,               // type 4096
      0x04, 0x00, 0x00, 0x00,   // length 4
      0x07, 0x00, 0x00, 0x00}}, // Long 7
    {"that chunk wrapped in a chunk of type -9510", Way::Both,
     {Begin(-9510), Begin(4096), Long(7), End(), End()},
     {0xDA, 0xDA,               // type -9510
      0x0A, 0x00, 0x00, 0x00,   // length 10: the nested chunk with its header
      0x00, 0x10,               //   type 4096
      0x04, 0x00, 0x00, 0x00,   //   length 4
      0x07, 0x00, 0x00, 0x00}}, //   Long 7
    {"nested chunk, then an empty sibling, then an item of the outer chunk", Way::Both,
     {Begin(1), Begin(2), Int(3), End(), Begin(-1), End(), Bool(true), End()},
     {0x01, 0x00,               // type 1
      0x0F, 0x00, 0x00, 0x00,   // length 15
      0x02, 0x00,               //   type 2
      0x02, 0x00, 0x00, 0x00,   //   length 2
      0x03, 0x00,               //     Int 3
      0xFF, 0xFF,               //   type -1
      0x00, 0x00, 0x00, 0x00,   //   length 0: no payload
      0xFF}},                   //   Bool true
    {"numbers", Way::Both,
     {Int(0x1234), Int(-2), Int(-32768), Long(0x12345678), Long(-1), Long(-2147483647 - 1),
      Single(1.5f), Single(-2.0f), Single(0.1f)},
     {0x34, 0x12,               // Int 0x1234
      0xFE, 0xFF,               // Int -2
      0x00, 0x80,               // Int -32768
      0x78, 0x56, 0x34, 0x12,   // Long 0x12345678
      0xFF, 0xFF, 0xFF, 0xFF,   // Long -1
      0x00, 0x00, 0x00, 0x80,   // Long -2147483648
      0x00, 0x00, 0xC0, 0x3F,   // Single 1.5
      0x00, 0x00, 0x00, 0xC0,   // Single -2
      0xCD, 0xCC, 0xCC, 0x3D}}, // Single 0.1, rounded to single precision
    {"Bools", Way::Both,
     {Bool(true), Bool(false)},
     {0xFF,                     // true
      0x00}},                   // false
    {"only 0xFF reads as true", Way::ReadOnly,
     {Bool(false), Bool(false), Bool(false)},
     {0x01,                     // false
      0xFE,                     // false
      0x80}},                   // false
    {"strings", Way::Both,
     {String("AB"), String(""), String("é€‘ÿ"), String("\u0081\u008D\u008F\u0090\u009D")},
     {0x41, 0x42, 0x00,         // "AB"
      0x00,                     // ""
      0xE9, 0x80, 0x91, 0xFF,   // "é€‘ÿ"
      0x00,
      0x81, 0x8D, 0x8F, 0x90,   // the five codes Windows-1252 leaves unassigned
      0x9D, 0x00}},
    {"a string holding code 0 is written whole", Way::WriteOnly,
     {String(std::string("A\0B", 3))},
     {0x41, 0x00, 0x42, 0x00}},
    {"and read back cut there", Way::Both,
     {String("A"), String("B")},
     {0x41, 0x00,               // "A"
      0x42, 0x00}},             // "B"
    {"a string of 1000 bytes with its zero", Way::Both,
     {String(std::string(999, 'A')), Long(5)},
     Repeated({}, 0x41, 999,    // 999 times "A"
              {0x00,            // its zero, the 1000th byte
               0x05, 0x00, 0x00, 0x00})}, // Long 5
    {"a string that runs past 1000 bytes is refused", Way::Refused,
     {Long(5), String("")},
     Repeated({0x05, 0x00, 0x00, 0x00}, // Long 5
              0x41, 1000,       // 1000 times "A"
              {0x00})},         // the zero comes too late
};
// clang-format on

TEST(KistStream, FileAndMemoryWriteAndReadTheseBytes) {
    for (const StreamCase& c : kStreamCases) {
        SCOPED_TRACE(c.name);
        const auto write = [&](KistWriter& w) { WriteItems(w, c.items); };
        if (c.way == Way::Both || c.way == Way::WriteOnly) {
            EXPECT_EQ(WrittenToFile(write), c.bytes) << "file";
            EXPECT_EQ(WrittenToRam(write), c.bytes) << "memory";
        }
        if (c.way != Way::WriteOnly) {
            ReadFromFile(c.bytes, c.items, c.way == Way::Refused);
            ReadFromRam(c.bytes, c.items, c.way == Way::Refused);
        }
    }
}

TEST(KistStream, RefusedStringsWriteNothing) {
    struct Case {
        std::string text;
        bool invalidUtf8;
        std::string named; // what the message must show of the character
    };
    const Case cases[] = {
        {"Som ∑", false, "'∑' (U+2211)"},
        {"\u0080", false, "(U+0080)"}, // its byte 0x80 belongs to €
        {"ok 😀", false, "(U+1F600)"},
        {"a\x80", true, ""},            // lone continuation byte
        {"\xE2\x82", true, ""},         // cut-off sequence
        {"\xC0\x80", true, ""},         // overlong zero
        {"\xED\xA0\x80", true, ""},     // surrogate
        {"\xF4\x90\x80\x80", true, ""}, // beyond U+10FFFF
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto write = [&](KistWriter& w) {
            w.writeLong(1);
            try {
                w.writeString(c.text);
                ADD_FAILURE() << "writeString did not refuse";
            } catch (const KistUtf8Error&) {
                EXPECT_TRUE(c.invalidUtf8);
            } catch (const KistCharacterError& e) {
                EXPECT_FALSE(c.invalidUtf8);
                EXPECT_NE(std::string(e.what()).find(c.named), std::string::npos) << e.what();
            }
            w.writeInt(2);
        };
        const Bytes expected{
            0x01, 0x00, 0x00, 0x00, // Long 1
            0x02, 0x00,             // Int 2, right after it
        };
        EXPECT_EQ(WrittenToFile(write), expected);
        EXPECT_EQ(WrittenToRam(write), expected);
    }
}

TEST(KistStream, HundredChunksOpenAtMostAndNoEndWithoutBegin) {
    const auto write = [](KistWriter& w) {
        EXPECT_THROW(w.EndChunk(), KistNestingError) << "none open";
        for (int i = 1; i <= 100; ++i) {
            w.BeginChunk(static_cast<std::int16_t>(i));
        }
        EXPECT_THROW(w.BeginChunk(101), KistNestingError);
        for (int i = 1; i <= 100; ++i) {
            w.EndChunk();
        }
        EXPECT_THROW(w.EndChunk(), KistNestingError) << "all ended";
    };
    for (const Bytes& bytes : {WrittenToFile(write), WrittenToRam(write)}) {
        ASSERT_EQ(bytes.size(), 600u) << "the refused chunk left nothing behind";
        const Bytes outer{
            0x01, 0x00,             // type 1
            0x52, 0x02, 0x00, 0x00, // length 594: the 99 chunks inside
        };
        EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 6), outer);
    }
}

} // namespace
