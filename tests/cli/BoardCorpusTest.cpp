// A thousand random boards (wires, lamps, knobs, sensors, display) give, byte for byte, the
// `--check --ticks 200` output recorded when the corpus was made. Any change to the board's
// reader, evaluator or step that alters what one of them shows changes the digest.

#include "app/cli/CliMain.h"
#include "app/documents/BoardDocument.h"
#include "app/documents/clsKistRWRam.h"
#include "app/simulation/clsSnaps.h"

#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kBoards = 1000;
constexpr std::uint64_t kRecordedDigest = 0x7e545880e512b1f4ULL;

/// 64-bit FNV-1a: the same number on every machine and library.
std::uint64_t Digest(const std::string& text) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const unsigned char c : text) {
        hash = (hash ^ c) * 0x100000001b3ULL;
    }
    return hash;
}

/// The names a wire may end on, sorted, so that the corpus does not depend on the table's
/// order.
std::vector<std::string> ConnectableNames() {
    const clsSnaps table;
    std::vector<std::string> names;
    for (std::int32_t i = 1; i <= table.GetSnapCount(); ++i) {
        const std::string naam = table.GetSnapItemName(i);
        if (table.GetConnectablebyName(naam) != 0) {
            names.push_back(naam);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

/// A random board. The 32-bit Mersenne twister's sequence is fixed by the language; values are
/// taken from it by remainder, never through a distribution, whose results may differ between
/// libraries. Unless `conflicts` is set, a wire that would join two outputs is drawn again, so
/// that most boards reach the evaluator's blocks rather than the conflict message.
BoardDocument RandomBoard(std::mt19937& random, const std::vector<std::string>& names,
                          bool conflicts) {
    const auto below = [&random](std::size_t n) {
        return static_cast<std::int32_t>(random() % static_cast<std::uint32_t>(n));
    };
    const clsSnaps table;
    BoardDocument board;
    board.displayValue = below(10);
    board.sensor1 = below(3);
    board.sensor2 = below(3);
    board.pulseGenerator = below(51);
    board.comparator = below(51);
    board.variableVoltage = below(51);
    board.pushButton1 = below(2) == 1;
    board.pushButton2 = below(2) == 1;
    // Wire groups by the index of their first name; outputs counts the outputs in each.
    std::vector<std::size_t> group(names.size());
    std::vector<int> outputs(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        group[i] = i;
        outputs[i] = table.GetSoortbyName(names[i]) == 2 ? 1 : 0;
    }
    const auto root = [&group](std::size_t i) {
        while (group[i] != i) {
            i = group[i];
        }
        return i;
    };
    const std::int32_t wires = below(41);
    for (std::int32_t w = 0, tries = 0; w < wires && tries < 200; ++tries) {
        const auto a = static_cast<std::size_t>(below(names.size()));
        const auto b = static_cast<std::size_t>(below(names.size()));
        const std::size_t ra = root(a);
        const std::size_t rb = root(b);
        if (!conflicts && ra != rb && outputs[ra] + outputs[rb] > 1) {
            continue;
        }
        if (ra != rb) {
            group[rb] = ra;
            outputs[ra] += outputs[rb];
        }
        board.wires.push_back({names[a], names[b]});
        ++w;
    }
    return board;
}

/// Writes `board` as a document file; only the bytes matter here, not that they survive a
/// power cut, so the file is not synced to the disk.
void WriteBoard(const BoardDocument& board, const std::string& path) {
    clsKistRWRam ram;
    board.WriteTo(ram);
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(ram.Buffer().data()), ram.Pos());
    ASSERT_TRUE(file.good()) << path;
}

TEST(BoardCorpus, CheckOfAThousandRandomBoardsIsAsRecorded) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string folder = dir.path().toStdString() + "/";
    const std::vector<std::string> names = ConnectableNames();
    ASSERT_GT(names.size(), 40U);

    std::mt19937 random(20261209U);
    std::vector<std::string> args = {"--check", "--ticks", "200"};
    for (int k = 0; k < kBoards; ++k) {
        const std::string path = folder + "bord" + std::to_string(k) + ".tvb";
        WriteBoard(RandomBoard(random, names, k % 4 == 0), path);
        args.push_back(path);
    }

    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(CliMain::Execute(args, out, err), CliMain::kAllRead) << err.str();
    std::string lines = out.str();
    for (std::size_t at = lines.find(folder); at != std::string::npos;
         at = lines.find(folder, at)) {
        lines.erase(at, folder.size());
    }
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), kBoards);
    EXPECT_EQ(Digest(lines), kRecordedDigest) << std::hex << Digest(lines);
}

} // namespace
