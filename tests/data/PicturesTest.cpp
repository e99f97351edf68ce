// The generated pictures: present, 24-bit, of the sizes the program relies on, masks that
// match their pictures, and wire frames that point where their number says.

#include "data/generator/DataGenerator.h"
#include "tests/data/DataFile.h"

#include <QColor>
#include <QImage>
#include <array>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <numbers>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;

std::vector<std::string> LineStrips() {
    std::vector<std::string> names;
    for (int i = 1; i <= 9; ++i) {
        names.push_back("images1/Line" + std::to_string(i) + ".bmp");
    }
    return names;
}

TEST(Pictures, EveryGeneratedFileIsThere) {
    const auto files = DataGenerator::Files();
    // 40 board pictures (the wires also in eight colours for colour blindness, the knobs'
    // faces, their mask and the scale's readings among them) at 1x, 2x and 3x, the document
    // icon, splash, about, the sound chooser's background and bar, and two sounds.
    EXPECT_EQ(files.size(), 40u * 3 + 7);
    for (const std::string& file : files) {
        EXPECT_TRUE(std::filesystem::is_regular_file(DataFolder() + "/" + file)) << file;
    }
}

struct SizeCase {
    SizeCase(std::string f, int w, int h, int fa = 1, std::string b = {})
        : file(std::move(f)), width(w), height(h), factor(fa), base(std::move(b)) {}
    std::string file;
    int width;
    int height;
    /// For a sharper version: its factor and the 1x picture it must show.
    int factor;
    std::string base;
};

/// Mean difference per colour channel, 0 to 255, between a picture and a sharper version of
/// it averaged down over factor x factor blocks.
double DifferenceFromBase(const BmpFile& base, const BmpFile& sharper, int factor) {
    double total = 0;
    for (int y = 0; y < base.Height(); ++y) {
        for (int x = 0; x < base.Width(); ++x) {
            double channels[3] = {0, 0, 0};
            for (int dy = 0; dy < factor; ++dy) {
                for (int dx = 0; dx < factor; ++dx) {
                    const QRgb c = sharper.Pixel(x * factor + dx, y * factor + dy);
                    channels[0] += qRed(c);
                    channels[1] += qGreen(c);
                    channels[2] += qBlue(c);
                }
            }
            const QRgb b = base.Pixel(x, y);
            const int own[3] = {qRed(b), qGreen(b), qBlue(b)};
            for (int k = 0; k < 3; ++k) {
                total += std::abs(channels[k] / (factor * factor) - own[k]);
            }
        }
    }
    return total / (3.0 * base.Width() * base.Height());
}

// Sharper versions are the same pictures drawn at 2 and 3 times the size: averaged back down
// they differ from the 1x picture only by the smoothing of edges (at most about 8 of 255 for
// thin rings and masks, under 3 for most).
TEST(Pictures, HaveTheSizesTheProgramUses) {
    std::vector<SizeCase> cases = {
        {"images1/LineMask.bmp", 1024, 32}, // 32 frames of 32 x 32
        {"images2/Bord.bmp", 420, 360},     //
        {"images2/HighLight.bmp", 32, 32},  // placed 16 left of and above the point
        {"images2/HighLightMask.bmp", 32, 32},
        {"images2/RedLight.bmp", 32, 32}, // centred on the push buttons from its corner
        {"images2/RedLightMask.bmp", 32, 32},
        {"images2/Sensors.bmp", 144, 48}, // three 48 x 48 frames
        {"images2/0-5V.bmp", 214, 48},    // scale to x 206, close box to 213
        {"images2/VPointer.bmp", 15, 31}, // column 7 at the value
        {"images2/VPointerMask.bmp", 15, 31},
        {"images2/splash.bmp", 400, 250},
        {"images2/about.bmp", 400, 250},
        {"images2/WaveInputs.bmp", 314, 286},   // the sound input chooser's window
        {"images2/VolumeBar.bmp", 200, 12},     // a level bar at full scale
        {"images2/KnobFaces.bmp", 21 * 51, 21}, // a 21 x 21 knob for each setting 0 to 50
        {"images2/KnobFacesMask.bmp", 21 * 51, 21},
        {"images2/KnobValues.bmp", 80 * 17, 13 * 6}, // 80 x 13 readings, 17 to a row
    };
    for (const std::string& strip : LineStrips()) {
        cases.push_back({strip, 1024, 32});
    }
    for (int i = 1; i <= 8; ++i) {
        cases.push_back({"images1/LineCB" + std::to_string(i) + ".bmp", 1024, 32});
    }
    for (int d = 0; d <= 9; ++d) {
        cases.push_back({"images2/Display" + std::to_string(d) + ".bmp", 22, 32});
    }
    // The sharper versions of the board's pictures are exactly 2 and 3 times as large; the
    // pictures of other windows have none.
    const std::size_t ownSize = cases.size();
    for (std::size_t i = 0; i < ownSize; ++i) {
        const SizeCase c = cases[i];
        bool boardPicture = true;
        for (const char* window : {"splash", "about", "WaveInputs", "VolumeBar"}) {
            boardPicture = boardPicture && c.file.find(window) == std::string::npos;
        }
        if (!boardPicture) {
            continue;
        }
        for (int factor : {2, 3}) {
            cases.push_back({DataGenerator::SharperName(c.file, factor), c.width * factor,
                             c.height * factor, factor, c.file});
        }
    }
    for (const SizeCase& c : cases) {
        const BmpFile bmp(c.file);
        ASSERT_TRUE(bmp.Valid()) << bmp.Problem();
        EXPECT_EQ(bmp.Bits(), 24) << c.file;
        EXPECT_EQ(bmp.Width(), c.width) << c.file;
        EXPECT_EQ(bmp.Height(), c.height) << c.file;
        if (c.factor > 1 && bmp.Width() == c.width && bmp.Height() == c.height) {
            const BmpFile base(c.base);
            ASSERT_TRUE(base.Valid()) << base.Problem();
            EXPECT_LT(DifferenceFromBase(base, bmp, c.factor), 10.0) << c.file;
        }
    }
}

struct MaskCase {
    std::string picture;
    std::string mask;
};

// A masked part draws its picture where the mask is black; the picture is black (nothing)
// exactly where the mask is white, so the two can never disagree about the part's outline.
TEST(Pictures, MasksAreBlackAndWhiteAndMatchTheirPictures) {
    std::vector<MaskCase> cases = {
        {"images2/HighLight.bmp", "images2/HighLightMask.bmp"},
        {"images2/RedLight.bmp", "images2/RedLightMask.bmp"},
        {"images2/VPointer.bmp", "images2/VPointerMask.bmp"},
        {"images2/KnobFaces.bmp", "images2/KnobFacesMask.bmp"},
    };
    for (const std::string& strip : LineStrips()) {
        cases.push_back({strip, "images1/LineMask.bmp"});
    }
    for (int i = 1; i <= 8; ++i) {
        cases.push_back({"images1/LineCB" + std::to_string(i) + ".bmp", "images1/LineMask.bmp"});
    }
    for (const MaskCase& c : cases) {
        const BmpFile picture(c.picture);
        const BmpFile mask(c.mask);
        ASSERT_TRUE(picture.Valid() && mask.Valid()) << c.picture;
        ASSERT_EQ(picture.Width(), mask.Width());
        ASSERT_EQ(picture.Height(), mask.Height());
        int shown = 0;
        int wrong = 0;
        for (int y = 0; y < mask.Height(); ++y) {
            for (int x = 0; x < mask.Width(); ++x) {
                const QRgb m = mask.Pixel(x, y);
                ASSERT_TRUE(m == kBlack || m == kWhite) << c.mask << " at " << x << "," << y;
                shown += m == kBlack;
                wrong += (m == kWhite) != (picture.Pixel(x, y) == kBlack);
            }
        }
        EXPECT_GT(shown, 0) << c.mask;
        EXPECT_EQ(wrong, 0) << c.picture;
    }
}

// Shape of the wire in one frame of the mask, from the moments of its pixels.
struct Stretch {
    double cx = 0, cy = 0;
    double angle = 0; // degrees, 0 to 180
    double length = 0;
    double width = 0;
};

Stretch Measure(const BmpFile& mask, int frame) {
    std::vector<std::pair<double, double>> pts;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (mask.Pixel(32 * frame + x, y) == kBlack) {
                pts.emplace_back(x + 0.5, y + 0.5);
            }
        }
    }
    Stretch s;
    for (const auto& [x, y] : pts) {
        s.cx += x / pts.size();
        s.cy += y / pts.size();
    }
    double sxx = 0, syy = 0, sxy = 0;
    for (const auto& [x, y] : pts) {
        sxx += (x - s.cx) * (x - s.cx);
        syy += (y - s.cy) * (y - s.cy);
        sxy += (x - s.cx) * (y - s.cy);
    }
    const double a = 0.5 * std::atan2(2 * sxy, sxx - syy);
    s.angle = std::fmod(a * 180 / std::numbers::pi + 180, 180);
    double lo = 1e9, hi = -1e9, across = 0;
    for (const auto& [x, y] : pts) {
        const double along = (x - s.cx) * std::cos(a) + (y - s.cy) * std::sin(a);
        lo = std::min(lo, along);
        hi = std::max(hi, along);
        across = std::max(across, std::abs(-(x - s.cx) * std::sin(a) + (y - s.cy) * std::cos(a)));
    }
    s.length = hi - lo + 1;
    s.width = 2 * across + 1;
    return s;
}

// Frame k shows direction k * 11.25 degrees, y downward, centred where the program puts the
// point it draws (16 right of and below the frame's corner), and long enough to overlap the
// next stretch, which lies at most 15 pixels further.
TEST(Pictures, WireFramesPointTheirWayAndOverlapTheirNeighbours) {
    const BmpFile mask("images1/LineMask.bmp");
    ASSERT_TRUE(mask.Valid()) << mask.Problem();
    for (int k = 0; k < 32; ++k) {
        const Stretch s = Measure(mask, k);
        const double expected = std::fmod(k * 11.25, 180.0);
        double off = std::abs(s.angle - expected);
        off = std::min(off, 180 - off);
        EXPECT_LT(off, 2.0) << "frame " << k << " drawn at " << s.angle << " degrees";
        EXPECT_NEAR(s.cx, 16.5, 0.5) << "frame " << k;
        EXPECT_NEAR(s.cy, 16.5, 0.5) << "frame " << k;
        EXPECT_GE(s.length, 14.0) << "frame " << k;
        EXPECT_LE(s.length, 18.0) << "frame " << k;
        EXPECT_LE(s.width, 7.0) << "frame " << k;
    }
}

QRgb MeanWireColour(const BmpFile& strip, const BmpFile& mask) {
    double r = 0, g = 0, b = 0;
    int n = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (mask.Pixel(x, y) == kBlack) {
                const QRgb c = strip.Pixel(x, y);
                r += qRed(c);
                g += qGreen(c);
                b += qBlue(c);
                ++n;
            }
        }
    }
    return qRgb(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n));
}

// Every voltage level and the highlight must be told apart at a glance.
TEST(Pictures, WireColoursDifferClearly) {
    const BmpFile mask("images1/LineMask.bmp");
    ASSERT_TRUE(mask.Valid());
    std::vector<QRgb> colours;
    for (const std::string& strip : LineStrips()) {
        const BmpFile bmp(strip);
        ASSERT_TRUE(bmp.Valid()) << bmp.Problem();
        colours.push_back(MeanWireColour(bmp, mask));
    }
    for (std::size_t i = 0; i < colours.size(); ++i) {
        for (std::size_t j = i + 1; j < colours.size(); ++j) {
            const double d = std::hypot(qRed(colours[i]) - qRed(colours[j]),
                                        qGreen(colours[i]) - qGreen(colours[j]),
                                        qBlue(colours[i]) - qBlue(colours[j]));
            EXPECT_GT(d, 45.0) << "colours " << i + 1 << " and " << j + 1;
        }
    }
    // Colour 1 is full voltage, 8 none: the live colours run from hot to cold (their hue
    // rises from red towards blue with the colour number), and no voltage is the greyest.
    for (std::size_t c = 0; c + 1 < 7; ++c) {
        EXPECT_LT(QColor(colours[c]).hsvHue(), QColor(colours[c + 1]).hsvHue())
            << "colour " << c + 1 << " must look hotter than colour " << c + 2;
    }
    for (std::size_t c = 0; c < colours.size(); ++c) {
        if (c != 7) {
            EXPECT_LT(QColor(colours[7]).hsvSaturation(), QColor(colours[c]).hsvSaturation())
                << "colour 8 (no voltage) against colour " << c + 1;
        }
    }
}

struct CentreCase {
    std::string mask;
    bool centreShown; // the cursor leaves the socket under it visible
};

// Lamp and cursor are placed by their top-left corner, 16 pixels before the point they mark.
TEST(Pictures, LampAndCursorAreCentredOnTheirPoint) {
    for (const CentreCase& c : {CentreCase{"images2/RedLightMask.bmp", true},
                                CentreCase{"images2/HighLightMask.bmp", false}}) {
        const BmpFile mask(c.mask);
        ASSERT_TRUE(mask.Valid()) << mask.Problem();
        double cx = 0, cy = 0;
        int n = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                if (mask.Pixel(x, y) == kBlack) {
                    cx += x + 0.5;
                    cy += y + 0.5;
                    ++n;
                }
            }
        }
        ASSERT_GT(n, 0);
        EXPECT_NEAR(cx / n, 16.5, 0.25) << c.mask;
        EXPECT_NEAR(cy / n, 16.5, 0.25) << c.mask;
        EXPECT_EQ(mask.Pixel(16, 16) == kBlack, c.centreShown) << c.mask;
    }
}

// The knob puts its pointer at (4 v - 1, 5) for the tick at x = 6 + 4 v: the pointer must be
// symmetric about its column 7, and the dial must leave the ticks' cells to the program.
TEST(Pictures, KnobPointerAndDialLineUpWithTheScale) {
    const BmpFile pointer("images2/VPointerMask.bmp");
    ASSERT_TRUE(pointer.Valid()) << pointer.Problem();
    for (int y = 0; y < pointer.Height(); ++y) {
        for (int x = 0; x < 7; ++x) {
            EXPECT_EQ(pointer.Pixel(x, y), pointer.Pixel(14 - x, y)) << x << "," << y;
        }
    }
    const BmpFile dial("images2/0-5V.bmp");
    ASSERT_TRUE(dial.Valid()) << dial.Problem();
    EXPECT_LE(5 + pointer.Height(), dial.Height());
    const QRgb under = dial.Pixel(6, 33);
    EXPECT_LT(qGray(under), 100) << "white ticks need a dark scale";
    for (int i = 0; i <= 50; ++i) {
        for (int y = 23; y <= 33; ++y) {
            EXPECT_EQ(dial.Pixel(6 + 4 * i, y), under) << "tick " << i << " row " << y;
        }
    }
    // The close box at (197, 0) to (213, 16) shows something to press.
    int marked = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 197; x < 213; ++x) {
            marked += dial.Pixel(x, y) != dial.Pixel(100, 18);
        }
    }
    EXPECT_GT(marked, 64);
}

std::vector<QRgb> AllPixels(const BmpFile& bmp, int x0, int width) {
    std::vector<QRgb> pixels;
    for (int y = 0; y < bmp.Height(); ++y) {
        for (int x = x0; x < x0 + width; ++x) {
            pixels.push_back(bmp.Pixel(x, y));
        }
    }
    return pixels;
}

TEST(Pictures, DigitsShowTheirSegmentsAndSensorFramesTheirModes) {
    std::vector<std::vector<QRgb>> digits;
    for (int d = 0; d <= 9; ++d) {
        const BmpFile bmp("images2/Display" + std::to_string(d) + ".bmp");
        ASSERT_TRUE(bmp.Valid()) << bmp.Problem();
        digits.push_back(AllPixels(bmp, 0, bmp.Width()));
    }
    for (int a = 0; a <= 9; ++a) {
        for (int b = a + 1; b <= 9; ++b) {
            EXPECT_NE(digits[a], digits[b]) << a << " and " << b;
        }
    }
    // Each digit lights the segments of an ordinary seven-segment display. A pixel in the
    // middle of each segment (the digits lean slightly to the right): a top, b upper right,
    // c lower right, d bottom, e lower left, f upper left, g middle.
    const std::array<QPoint, 7> middle = {QPoint(12, 4),  QPoint(16, 10), QPoint(16, 21),
                                          QPoint(10, 27), QPoint(5, 21),  QPoint(6, 10),
                                          QPoint(11, 16)};
    const char* const lit[10] = {"abcdef", "bc",     "abdeg", "abcdg",   "bcfg",
                                 "acdfg",  "acdefg", "abc",   "abcdefg", "abcdfg"};
    for (int d = 0; d <= 9; ++d) {
        const BmpFile bmp("images2/Display" + std::to_string(d) + ".bmp");
        for (int segment = 0; segment < 7; ++segment) {
            const bool on = std::string(lit[d]).find(char('a' + segment)) != std::string::npos;
            const QPoint at = middle[static_cast<std::size_t>(segment)];
            EXPECT_EQ(qRed(bmp.Pixel(at.x(), at.y())) > 150, on)
                << "digit " << d << " segment " << char('a' + segment);
        }
    }
    const BmpFile sensors("images2/Sensors.bmp");
    ASSERT_TRUE(sensors.Valid()) << sensors.Problem();
    EXPECT_NE(AllPixels(sensors, 0, 48), AllPixels(sensors, 48, 48));
    EXPECT_NE(AllPixels(sensors, 48, 48), AllPixels(sensors, 96, 48));
    EXPECT_NE(AllPixels(sensors, 0, 48), AllPixels(sensors, 96, 48));

    // Frame p shows mode p. Mode 0 gives no light: the cell's face is dark and its badge grey.
    // Mode 1 takes the pointer as a lamp (a warm badge), mode 2 a light that swings (a cool
    // badge). The face is the disc of radius 10 around the frame's centre, the badge the disc
    // of radius 6 around (38.5, 38.5).
    struct ModeLook {
        bool lit;
        int badgeHueLow, badgeHueHigh; // hue range of the badge's coloured pixels; -1: grey
    };
    const std::array<ModeLook, 3> modes = {ModeLook{false, -1, -1}, ModeLook{true, 15, 60},
                                           ModeLook{true, 190, 250}};
    for (int mode = 0; mode < 3; ++mode) {
        const ModeLook& want = modes[static_cast<std::size_t>(mode)];
        double face = 0;
        int faceCount = 0, coloured = 0;
        double hue = 0;
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 48; ++x) {
                const QColor c(sensors.Pixel(48 * mode + x, y));
                if (std::hypot(x + 0.5 - 24.5, y + 0.5 - 24.5) <= 10) {
                    face += c.valueF();
                    ++faceCount;
                }
                if (std::hypot(x + 0.5 - 38.5, y + 0.5 - 38.5) <= 6 && c.hsvSaturation() > 100) {
                    hue += c.hsvHue();
                    ++coloured;
                }
            }
        }
        EXPECT_EQ(face / faceCount > 0.7, want.lit) << "face of mode " << mode;
        if (want.badgeHueLow < 0) {
            EXPECT_EQ(coloured, 0) << "badge of mode " << mode;
        } else {
            ASSERT_GT(coloured, 20) << "badge of mode " << mode;
            EXPECT_GE(hue / coloured, want.badgeHueLow) << "badge of mode " << mode;
            EXPECT_LE(hue / coloured, want.badgeHueHigh) << "badge of mode " << mode;
        }
    }
}

TEST(Pictures, DocumentIconIsAValidIcon) {
    const auto bytes = ReadDataFile("images1/doc.ico");
    ASSERT_GE(bytes.size(), 6u);
    EXPECT_EQ(ReadLE(bytes, 0, 2), 0u);
    EXPECT_EQ(ReadLE(bytes, 2, 2), 1u); // icon
    const std::uint32_t count = ReadLE(bytes, 4, 2);
    ASSERT_GE(count, 1u);
    ASSERT_GE(bytes.size(), 6 + 16 * count);
    bool has32 = false;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16 * i;
        const std::uint32_t size = bytes[entry] == 0 ? 256 : bytes[entry];
        const std::uint32_t length = ReadLE(bytes, entry + 8, 4);
        const std::uint32_t offset = ReadLE(bytes, entry + 12, 4);
        ASSERT_LE(std::size_t{offset} + length, bytes.size()) << "entry " << i;
        EXPECT_EQ(ReadLE(bytes, offset, 4), 40u) << "entry " << i;
        EXPECT_EQ(ReadLE(bytes, offset + 4, 4), size) << "entry " << i;
        EXPECT_EQ(ReadLE(bytes, offset + 8, 4), 2 * size) << "entry " << i;
        const std::uint32_t bits = ReadLE(bytes, offset + 14, 2);
        const std::uint32_t maskStride = (size + 31) / 32 * 4;
        EXPECT_EQ(length, 40 + size * size * bits / 8 + maskStride * size) << "entry " << i;
        has32 = has32 || size == 32;
    }
    EXPECT_TRUE(has32);
    EXPECT_FALSE(QImage(QString::fromStdString(DataFolder() + "/images1/doc.ico")).isNull());
}

// The icons for desktops: every size the icon theme is given, square PNGs of the size their
// folder names, transparent around the picture and drawn in its middle.
TEST(Pictures, DesktopIconsComeAtTheirThemeSizes) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("tavsim-icons-" + std::to_string(::getpid()));
    DataGenerator::WriteIcons(folder.string());
    const std::vector<std::string> files = DataGenerator::IconFiles();
    int apps = 0;
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const int size = std::stoi(file.substr(0, file.find('x')));
        EXPECT_EQ(file.substr(0, file.find('/')),
                  std::to_string(size) + "x" + std::to_string(size));
        const QImage icon(QString::fromStdString((folder / file).string()), "PNG");
        ASSERT_EQ(icon.size(), QSize(size, size));
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255);
        apps += file.find("/apps/tavsim.png") != std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(apps, 6);
    EXPECT_EQ(files.size(), 9u);
    std::filesystem::remove_all(folder);
}

} // namespace

namespace {

struct KnobRow {
    int setting;
    /// A pixel of the index mark, 4.5 pixels from the knob's centre (10.5, 10.5) of its frame
    /// along the setting's place on the sweep: down-left at 0, up at 25, down-right at 50.
    int x;
    int y;
};

// Each knob frame points at its setting, at every size.
TEST(Pictures, EveryKnobFramePointsAtItsSetting) {
    const KnobRow rows[] = {{0, 7, 13}, {25, 10, 6}, {50, 13, 13}, {10, 6, 9}, {40, 14, 9}};
    for (int factor : {1, 2, 3}) {
        const BmpFile faces(factor == 1
                                ? std::string("images2/KnobFaces.bmp")
                                : DataGenerator::SharperName("images2/KnobFaces.bmp", factor));
        ASSERT_TRUE(faces.Valid()) << faces.Problem();
        for (const KnobRow& row : rows) {
            for (const KnobRow& other : rows) {
                const QRgb c = faces.Pixel((21 * row.setting + other.x) * factor + factor / 2,
                                           other.y * factor + factor / 2);
                const bool dark = qRed(c) + qGreen(c) + qBlue(c) < 300;
                EXPECT_EQ(dark, other.setting == row.setting)
                    << "frame " << row.setting << " at " << factor << "x, mark of "
                    << other.setting;
            }
        }
    }
}

} // namespace
