// The board document's byte layout, checked against annotated byte arrays, and how the
// reader copes with documents that lack parts or are damaged.

#include "app/documents/BoardDocument.h"

#include "app/documents/BoardDocumentError.h"
#include "app/documents/KistError.h"
#include "app/documents/clsKistRFile.h"
#include "app/documents/clsKistRWRam.h"
#include "tests/documents/KistTestSupport.h"

#include <gtest/gtest.h>
#include <random>

namespace {

Bytes Written(const BoardDocument& document) {
    clsKistRWRam ram;
    document.WriteTo(ram);
    return Bytes(ram.Buffer().begin(), ram.Buffer().begin() + ram.Pos());
}

// Reads a document from `bytes` as a file holds them; a new file each time.
BoardDocument ReadBytes(const TempFolder& folder, const Bytes& bytes) {
    static int number = 0;
    const std::string path = folder.File("board" + std::to_string(++number) + ".tvb");
    WriteFileBytes(path, bytes);
    clsKistRFile file;
    file.OpenFile(path);
    return BoardDocument::ReadFrom(file);
}

BoardDocument FiveWireBoard() {
    BoardDocument board;
    board.displayValue = 3;
    board.sensor1 = 2;
    board.sensor2 = 1;
    board.pulseGenerator = 25;
    board.comparator = 50;
    board.variableVoltage = 7;
    board.pushButton2 = true;
    board.wires = {{"Sensor 1 Uit Geel", "EN-poort Ingang 1"},
                   {"Drukknop 1 Uit Geel", "EN-poort Ingang 2"},
                   {"EN-poort Uit", "LED 1 Ingang"},
                   {"Puls Generator Uit Geel", "Pulsenteller Tel pulsen (In)"},
                   {"Relais Uitgang 2 (in/uit)", "Zoemer"}};
    return board;
}

// Settings with a different value in every field, so that a field written in the wrong
// place shows.
BoardDocument DistinctSettings() {
    BoardDocument board;
    board.displayValue = 7;
    board.sensor1 = 1;
    board.sensor2 = 2;
    board.pulseGenerator = 42;
    board.comparator = 17;
    board.variableVoltage = 50;
    board.pushButton1 = true;
    board.pushButton2 = false;
    return board;
}

TEST(BoardDocument, EmptyBoardIsFiftyTwoBytes) {
    // clang-format off
    const Bytes expected = {
        0xDA, 0xDA,             // document chunk, type -9510
        0x2E, 0x00, 0x00, 0x00, //   its length: 46
        0x00, 0x10,             //   settings chunk, type 4096
        0x22, 0x00, 0x00, 0x00, //     its length: 34
        0x00, 0x00, 0x00, 0x00, //     always 0
        0x00, 0x00, 0x00, 0x00, //     number of wires: 0
        0x07, 0x00, 0x00, 0x00, //     display: 7
        0x01, 0x00, 0x00, 0x00, //     sensor 1 mode: 1
        0x02, 0x00, 0x00, 0x00, //     sensor 2 mode: 2
        0x2A, 0x00, 0x00, 0x00, //     pulse generator: 42
        0x11, 0x00, 0x00, 0x00, //     comparator: 17
        0x32, 0x00, 0x00, 0x00, //     variable voltage: 50
        0xFF,                   //     push button 1 lit
        0x00,                   //     push button 2 dark
        0x00, 0x20,             //   wire chunk, type 8192
        0x00, 0x00, 0x00, 0x00, //     its length: 0
    };
    // clang-format on
    ASSERT_EQ(expected.size(), 52u);
    EXPECT_EQ(Written(DistinctSettings()), expected);
}

TEST(BoardDocument, OneWireBetweenAAndB) {
    BoardDocument board;
    board.wires = {{"A", "B"}};
    // clang-format off
    const Bytes expected = {
        0xDA, 0xDA,             // document chunk
        0x32, 0x00, 0x00, 0x00, //   its length: 46 + 4
        0x00, 0x10,             //   settings chunk
        0x22, 0x00, 0x00, 0x00, //     its length: 34
        0x00, 0x00, 0x00, 0x00, //     always 0
        0x01, 0x00, 0x00, 0x00, //     number of wires: 1
        0x00, 0x00, 0x00, 0x00, //     display
        0x00, 0x00, 0x00, 0x00, //     sensor 1
        0x00, 0x00, 0x00, 0x00, //     sensor 2
        0x00, 0x00, 0x00, 0x00, //     pulse generator
        0x00, 0x00, 0x00, 0x00, //     comparator
        0x00, 0x00, 0x00, 0x00, //     variable voltage
        0x00, 0x00,             //     both lamps dark
        0x00, 0x20,             //   wire chunk
        0x04, 0x00, 0x00, 0x00, //     its length: 4
        0x41, 0x00,             //     naam1 "A"
        0x42, 0x00,             //     naam2 "B"
    };
    // clang-format on
    EXPECT_EQ(Written(board), expected);
}

TEST(BoardDocument, ReadsBackWhatWasWrittenInListOrder) {
    TempFolder folder;
    BoardDocument board = FiveWireBoard();
    board.wires.push_back({"Sensor 1 Uit Geel", "EN-poort Ingang 1"}); // same pair twice
    board.wires.push_back({"Zoemer", "Relais Uitgang 2 (in/uit)"});    // and reversed
    Bytes bytes = Written(board);
    bytes.insert(bytes.end(), {0xDE, 0xAD, 0xBE}); // after the last wire nothing is looked at
    EXPECT_EQ(ReadBytes(folder, bytes), board);

    clsKistRWRam ram;
    board.WriteTo(ram);
    for (int pass = 0; pass < 2; ++pass) {
        ram.ResetToStart();
        EXPECT_EQ(BoardDocument::ReadFrom(ram), board) << "pass " << pass;
    }
}

TEST(BoardDocument, MissingPartsReadAsAnEmptyBoardWithoutSettings) {
    TempFolder folder;
    // clang-format off
    const Bytes noDocumentChunk = {
        0x00, 0x10,             // a settings chunk where the document chunk belongs
        0x04, 0x00, 0x00, 0x00, //   its length
        0x05, 0x00, 0x00, 0x00, //   never read
    };
    const Bytes noSettingsChunk = {
        0xDA, 0xDA,             // document chunk
        0x0E, 0x00, 0x00, 0x00, //   its length: 14
        0x00, 0x20,             //   wire chunk straight away
        0x08, 0x00, 0x00, 0x00, //     its length: 8
        0x41, 0x00, 0x42, 0x00, //     "A", "B": no count, so not read
        0x43, 0x00, 0x44, 0x00, //     "C", "D"
    };
    const Bytes settingsOnly = {
        0xDA, 0xDA,             // document chunk
        0x28, 0x00, 0x00, 0x00, //   its length: 40
        0x00, 0x10,             //   settings chunk
        0x22, 0x00, 0x00, 0x00, //     its length: 34
        0x09, 0x00, 0x00, 0x00, //     not always 0 in practice: ignored
        0x00, 0x00, 0x00, 0x00, //     no wires
        0x09, 0x00, 0x00, 0x00, //     display 9
        0x00, 0x00, 0x00, 0x00, //     sensor 1
        0x00, 0x00, 0x00, 0x00, //     sensor 2
        0x00, 0x00, 0x00, 0x00, //     pulse generator
        0x00, 0x00, 0x00, 0x00, //     comparator
        0x00, 0x00, 0x00, 0x00, //     variable voltage
        0x01,                   //     a 1 is not true
        0xFF,                   //     lamp 2 lit
                                //   no wire chunk: the file ends here
    };
    // clang-format on
    const BoardDocument none = ReadBytes(folder, noDocumentChunk);
    EXPECT_FALSE(none.hasSettings);
    EXPECT_TRUE(none.wires.empty());

    const BoardDocument noSettings = ReadBytes(folder, noSettingsChunk);
    EXPECT_FALSE(noSettings.hasSettings);
    EXPECT_TRUE(noSettings.wires.empty());

    const BoardDocument settings = ReadBytes(folder, settingsOnly);
    EXPECT_TRUE(settings.hasSettings);
    EXPECT_EQ(settings.displayValue, 9);
    EXPECT_FALSE(settings.pushButton1);
    EXPECT_TRUE(settings.pushButton2);
    EXPECT_TRUE(settings.wires.empty());
}

// The board of DistinctSettings() with one field of the settings replaced.
Bytes WithSettingsLong(int index, std::int32_t value) {
    Bytes bytes = Written(DistinctSettings());
    const std::size_t at = 12 + 4 * static_cast<std::size_t>(index);
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
    }
    return bytes;
}

TEST(BoardDocument, ValuesOutOfRangeAreRefusedNamingTheField) {
    struct Case {
        int index; // Long of the settings chunk, from 0
        std::int32_t value;
        const char* field;
    };
    const Case cases[] = {
        {2, 10, "display value 10"},
        {2, -1, "display value -1"},
        {3, 3, "sensor 1 mode 3"},
        {4, -2147483647 - 1, "sensor 2 mode -2147483648"},
        {5, 51, "pulse generator setting 51"},
        {6, -1, "comparator setting -1"},
        {7, 1000, "variable voltage setting 1000"},
        // 54 sockets make 1431 distinct wires; a count far beyond is refused before reading.
        {1, 10001, "wire count 10001"},
        {1, 2147483647, "wire count 2147483647"},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        try {
            ReadBytes(folder, WithSettingsLong(c.index, c.value));
            ADD_FAILURE() << c.field << " was accepted";
        } catch (const BoardDocumentError& e) {
            EXPECT_NE(std::string(e.what()).find(c.field), std::string::npos) << e.what();
        }
    }
    // The ends of every range are fine.
    for (const auto& [index, value] : {std::pair{2, 0}, {2, 9}, {3, 0}, {4, 2}, {5, 0}, {7, 50}}) {
        EXPECT_NO_THROW(ReadBytes(folder, WithSettingsLong(index, value)))
            << "Long " << index << " = " << value;
    }
}

TEST(BoardDocument, WireCountNeverMakesMoreWiresThanTheStreamHolds) {
    TempFolder folder;
    const Bytes fiveWires = Written(FiveWireBoard());

    // A negative count, or wires counted without their chunk, mark a damaged document.
    EXPECT_THROW(ReadBytes(folder, WithSettingsLong(1, -5)), BoardDocumentError);
    Bytes otherChunk = WithSettingsLong(1, 3);
    otherChunk[47] = 0x30; // the chunk after the settings is of type 12288, not 8192
    EXPECT_THROW(ReadBytes(folder, otherChunk), BoardDocumentError);

    // A count above what the file holds ends in a read error, not in invented wires.
    Bytes tooMany = fiveWires;
    tooMany[16] = 6;
    EXPECT_THROW(ReadBytes(folder, tooMany), KistReadError);
    Bytes huge = fiveWires;
    huge[16] = 0xFF;
    huge[17] = 0xFF;
    huge[18] = 0xFF;
    huge[19] = 0x7F;
    EXPECT_THROW(ReadBytes(folder, huge), BoardDocumentError);

    // A fewer count reads the first wires only.
    Bytes fewer = fiveWires;
    fewer[16] = 2;
    EXPECT_EQ(ReadBytes(folder, fewer).wires.size(), 2u);

    // In memory, reading where nothing was written gives empty strings until the buffer
    // ends: still a read error, after no more wires than the buffer could hold.
    clsKistRWRam ram;
    ram.BeginChunk(BoardDocument::kDocumentChunk);
    ram.BeginChunk(BoardDocument::kSettingsChunk);
    ram.writeLong(0);
    ram.writeLong(2000000000);
    for (int i = 0; i < 6; ++i) {
        ram.writeLong(0);
    }
    ram.writeBool(false);
    ram.writeBool(false);
    ram.EndChunk();
    ram.BeginChunk(BoardDocument::kWiresChunk);
    ram.EndChunk();
    ram.EndChunk();
    ram.ResetToStart();
    EXPECT_THROW(BoardDocument::ReadFrom(ram), KistError);
}

// Damaged documents: each either reads or is refused with a KistError; none crashes or hangs.
TEST(BoardDocument, DamagedInputReadsOrIsRefused) {
    TempFolder folder;
    const Bytes whole = Written(FiveWireBoard());
    int refused = 0;
    int read = 0;
    auto attempt = [&](const Bytes& bytes) {
        try {
            const BoardDocument document = ReadBytes(folder, bytes);
            EXPECT_LE(document.wires.size(), bytes.size() / 2);
            ++read;
        } catch (const KistError&) {
            ++refused;
        }
    };
    for (std::size_t length = 0; length < whole.size(); ++length) {
        attempt(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)));
    }
    // The last byte of the document ends its last wire, so every cut must be refused.
    EXPECT_EQ(read, 0) << "a truncated five-wire board was read as if whole";

    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 120);
    for (int i = 0; i < 300; ++i) {
        Bytes bytes(static_cast<std::size_t>(length(random)));
        for (auto& b : bytes) {
            b = static_cast<std::uint8_t>(byte(random));
        }
        if (i % 2 == 0 && bytes.size() >= 2) {
            bytes[0] = 0xDA; // half of them past the first check
            bytes[1] = 0xDA;
        }
        attempt(bytes);
    }
    // Single bytes of the real board flipped.
    for (std::size_t at = 0; at < whole.size(); at += 3) {
        Bytes bytes = whole;
        bytes[at] ^= 0xA5;
        attempt(bytes);
    }
    EXPECT_EQ(read + refused,
              static_cast<int>(whole.size()) + 300 + static_cast<int>((whole.size() + 2) / 3));
}

} // namespace
