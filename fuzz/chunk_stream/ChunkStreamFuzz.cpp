// The chunk streams: the file reader and the memory buffer read the same bytes with the same
// series of reads and must agree item for item; the file writer and the memory buffer write
// the same series of items and must give the same bytes, with correct chunk lengths, that
// read back as written.
//
// Input: one byte n, then n operation bytes, then the stream (for reading) that also
// supplies the values written.

#include "app/documents/KistError.h"
#include "app/documents/clsKistRFile.h"
#include "app/documents/clsKistRWRam.h"
#include "app/documents/clsKistWFile.h"
#include "fuzz/support/FuzzTempFile.h"

#include <bit>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "chunk stream: %s\n", what);
    std::abort();
}

using Item = std::variant<std::monostate, std::int16_t, std::int32_t, std::uint32_t, std::string>;

/// One read of kind `op` (0 GoIntoChunk, 1 PeekChunkType, 2 readString, 3 readInt, 4 readLong,
/// 5 readBool, 6 readSingle as its bits); nullopt when the stream refused it.
std::optional<Item> Read(KistReader& in, int op) {
    try {
        switch (op) {
        case 0:
            in.GoIntoChunk();
            return Item{};
        case 1: {
            const std::int16_t type = in.PeekChunkType();
            if (in.PeekChunkType() != type) {
                Fail("PeekChunkType moved the position");
            }
            return Item{type};
        }
        case 2:
            return Item{in.readString()};
        case 3:
            return Item{in.readInt()};
        case 4:
            return Item{in.readLong()};
        case 5: {
            const std::int32_t b = in.readBool();
            if (b != 0 && b != -1) {
                Fail("readBool gave neither -1 nor 0");
            }
            return Item{b};
        }
        default:
            return Item{std::bit_cast<std::uint32_t>(in.readSingle())};
        }
    } catch (const KistReadError&) {
        return std::nullopt;
    }
}

/// Takes bytes from the input for the values written.
struct Source {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
    std::uint8_t Byte() { return at < size ? data[at++] : 0; }
    std::uint32_t Bytes(int n) {
        std::uint32_t v = 0;
        for (int i = 0; i < n; ++i) {
            v |= std::uint32_t{Byte()} << (8 * i);
        }
        return v;
    }
};

void ReadBoth(const std::uint8_t* ops, std::size_t opCount, const std::uint8_t* stream,
              std::size_t size) {
    static const FuzzTempFile file(".kist");
    file.Write(stream, size);
    clsKistRFile fileReader;
    fileReader.OpenFile(file.Path());
    // The memory buffer gets the same bytes, two at a time; a zero after an odd last byte is
    // what the buffer holds there anyway.
    clsKistRWRam ram;
    for (std::size_t i = 0; i < size; i += 2) {
        const std::uint8_t high = i + 1 < size ? stream[i + 1] : 0;
        ram.writeInt(static_cast<std::int16_t>(stream[i] | (high << 8)));
    }
    ram.ResetToStart();
    // After the file refused a read the two stand at different places until both restart.
    bool together = true;
    for (std::size_t k = 0; k < opCount; ++k) {
        const int op = ops[k] & 7;
        if (op == 7) {
            ram.ResetToStart();
            fileReader.OpenFile(file.Path());
            together = true;
            continue;
        }
        const std::optional<Item> fromFile = Read(fileReader, op);
        const std::optional<Item> fromRam = Read(ram, op);
        if (together && fromFile) {
            if (!fromRam) {
                Fail("the memory buffer refused a read that the file gave");
            }
            if (*fromRam != *fromFile) {
                Fail("the memory buffer and the file read different items");
            }
        }
        together = together && fromFile.has_value();
    }
}

struct Written {
    int op;
    Item item;
};

void WriteBoth(const std::uint8_t* ops, std::size_t opCount, Source values) {
    static const FuzzTempFile file(".kist");
    clsKistWFile fileWriter;
    fileWriter.OpenFile(file.Path());
    clsKistRWRam ram;
    std::vector<Written> written;
    std::vector<std::int32_t> starts; // where each open chunk's type lies in the buffer
    for (std::size_t k = 0; k < opCount; ++k) {
        const int op = ops[k] & 7;
        bool fileFailed = false;
        bool ramFailed = false;
        const std::int32_t before = ram.Pos();
        const auto both = [&](auto&& write) {
            try {
                write(static_cast<KistWriter&>(fileWriter));
            } catch (const KistError&) {
                fileFailed = true;
            }
            try {
                write(static_cast<KistWriter&>(ram));
            } catch (const KistError&) {
                ramFailed = true;
            }
        };
        Item item;
        switch (op) {
        case 0: {
            const auto type = static_cast<std::int16_t>(values.Bytes(2));
            item = type;
            both([type](KistWriter& w) { w.BeginChunk(type); });
            break;
        }
        case 1:
            both([](KistWriter& w) { w.EndChunk(); });
            break;
        case 2: {
            std::string text;
            for (std::uint8_t c = values.Byte(); c != 0; c = values.Byte()) {
                text += static_cast<char>(c);
            }
            item = text;
            both([&text](KistWriter& w) { w.writeString(text); });
            break;
        }
        case 3: {
            const auto i = static_cast<std::int16_t>(values.Bytes(2));
            item = i;
            both([i](KistWriter& w) { w.writeInt(i); });
            break;
        }
        case 4: {
            const auto l = static_cast<std::int32_t>(values.Bytes(4));
            item = l;
            both([l](KistWriter& w) { w.writeLong(l); });
            break;
        }
        case 5: {
            const bool b = (values.Byte() & 1) != 0;
            item = std::int32_t{b ? -1 : 0};
            both([b](KistWriter& w) { w.writeBool(b); });
            break;
        }
        case 6: {
            const std::uint32_t bits = values.Bytes(4);
            item = bits;
            both([bits](KistWriter& w) { w.writeSingle(std::bit_cast<float>(bits)); });
            break;
        }
        default:
            continue;
        }
        if (fileFailed != ramFailed) {
            Fail("the file writer and the memory buffer disagree about a write");
        }
        if (ramFailed) {
            if (ram.Pos() != before) {
                Fail("a refused write moved the position");
            }
            continue;
        }
        if (op == 0) {
            starts.push_back(before);
        } else if (op == 1) {
            const std::int32_t start = starts.back();
            starts.pop_back();
            const std::uint8_t* length = ram.Buffer().data() + start + 2;
            const std::int32_t stored =
                length[0] | (length[1] << 8) | (length[2] << 16) | (length[3] << 24);
            if (stored != ram.Pos() - start - 6) {
                Fail("a chunk's length is not the number of bytes after its header");
            }
        }
        written.push_back({op, item});
    }
    fileWriter.CloseFile();

    std::ifstream in(file.Path(), std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    const auto end = static_cast<std::size_t>(ram.Pos());
    if (bytes.size() != end ||
        (end > 0 && std::memcmp(bytes.data(), ram.Buffer().data(), end) != 0)) {
        Fail("the file writer and the memory buffer wrote different bytes");
    }

    // Everything reads back as it was written.
    ram.ResetToStart();
    for (const Written& w : written) {
        switch (w.op) {
        case 0:
            if (Read(ram, 1) != std::optional<Item>{w.item}) {
                Fail("a chunk reads back with another type");
            }
            Read(ram, 0);
            break;
        case 1:
            break;
        default:
            if (Read(ram, w.op) != std::optional<Item>{w.item}) {
                Fail("an item reads back differently");
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t opCount = std::min<std::size_t>(data[0] % 64, size - 1);
    const std::uint8_t* ops = data + 1;
    const std::uint8_t* stream = ops + opCount;
    const std::size_t streamSize = size - 1 - opCount;
    ReadBoth(ops, opCount, stream, streamSize);
    WriteBoth(ops, opCount, Source{stream, streamSize});
    return 0;
}
