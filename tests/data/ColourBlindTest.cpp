// The wire colours for colour blindness: the eight voltage colours and the highlight, as the
// generated strips show them, stay clearly apart for eyes without red or without green cones,
// simulated with the matrices of Machado, Oliveira and Fernandes (2009, full severity) and
// compared by CIEDE2000.

#include "app/simulation/WirePalette.h"
#include "tests/data/DataFile.h"

#include <QColor>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <numbers>
#include <string>
#include <vector>

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;
using Lab = std::array<double, 3>;

constexpr Matrix kSeeing = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
constexpr Matrix kProtanopia = {{{0.152286, 1.052583, -0.204868},
                                 {0.114503, 0.786281, 0.099216},
                                 {-0.003882, -0.048116, 1.051998}}};
constexpr Matrix kDeuteranopia = {{{0.367322, 0.860646, -0.227968},
                                   {0.280085, 0.672501, 0.047413},
                                   {-0.011820, 0.042940, 0.968881}}};

double Linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

/// CIE L*a*b* (D65) of an sRGB colour as the eye described by `eye` sees it; the matrix
/// works on linear light.
Lab Seen(QRgb colour, const Matrix& eye) {
    const double in[3] = {Linear(qRed(colour)), Linear(qGreen(colour)), Linear(qBlue(colour))};
    double rgb[3];
    for (int i = 0; i < 3; ++i) {
        rgb[i] = std::clamp(eye[i][0] * in[0] + eye[i][1] * in[1] + eye[i][2] * in[2], 0.0, 1.0);
    }
    const double x = 0.4124564 * rgb[0] + 0.3575761 * rgb[1] + 0.1804375 * rgb[2];
    const double y = 0.2126729 * rgb[0] + 0.7151522 * rgb[1] + 0.0721750 * rgb[2];
    const double z = 0.0193339 * rgb[0] + 0.1191920 * rgb[1] + 0.9503041 * rgb[2];
    const auto f = [](double t) {
        constexpr double d = 6.0 / 29.0;
        return t > d * d * d ? std::cbrt(t) : t / (3 * d * d) + 4.0 / 29.0;
    };
    const double fx = f(x / 0.95047);
    const double fy = f(y / 1.0);
    const double fz = f(z / 1.08883);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

double Radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

/// The CIEDE2000 colour difference (kL = kC = kH = 1).
double DeltaE2000(const Lab& one, const Lab& two) {
    const double c1 = std::hypot(one[1], one[2]);
    const double c2 = std::hypot(two[1], two[2]);
    const double cMean7 = std::pow((c1 + c2) / 2, 7);
    const double g = 0.5 * (1 - std::sqrt(cMean7 / (cMean7 + std::pow(25.0, 7))));
    const double a1 = (1 + g) * one[1];
    const double a2 = (1 + g) * two[1];
    const double c1p = std::hypot(a1, one[2]);
    const double c2p = std::hypot(a2, two[2]);
    const auto hue = [](double b, double a) {
        if (a == 0 && b == 0) {
            return 0.0;
        }
        const double h = std::atan2(b, a) * 180.0 / std::numbers::pi;
        return h < 0 ? h + 360 : h;
    };
    const double h1 = hue(one[2], a1);
    const double h2 = hue(two[2], a2);
    double dh = 0;
    if (c1p * c2p != 0) {
        dh = h2 - h1;
        dh = dh > 180 ? dh - 360 : dh < -180 ? dh + 360 : dh;
    }
    const double dL = two[0] - one[0];
    const double dC = c2p - c1p;
    const double dH = 2 * std::sqrt(c1p * c2p) * std::sin(Radians(dh / 2));
    const double lMean = (one[0] + two[0]) / 2;
    const double cpMean = (c1p + c2p) / 2;
    double hMean = h1 + h2;
    if (c1p * c2p != 0) {
        hMean = std::abs(h1 - h2) <= 180 ? (h1 + h2) / 2
                : h1 + h2 < 360          ? (h1 + h2 + 360) / 2
                                         : (h1 + h2 - 360) / 2;
    }
    const double t = 1 - 0.17 * std::cos(Radians(hMean - 30)) +
                     0.24 * std::cos(Radians(2 * hMean)) + 0.32 * std::cos(Radians(3 * hMean + 6)) -
                     0.20 * std::cos(Radians(4 * hMean - 63));
    const double theta = 30 * std::exp(-std::pow((hMean - 275) / 25, 2));
    const double cp7 = std::pow(cpMean, 7);
    const double rc = 2 * std::sqrt(cp7 / (cp7 + std::pow(25.0, 7)));
    const double sl = 1 + 0.015 * std::pow(lMean - 50, 2) / std::sqrt(20 + std::pow(lMean - 50, 2));
    const double sc = 1 + 0.045 * cpMean;
    const double sh = 1 + 0.015 * cpMean * t;
    const double rt = -std::sin(Radians(2 * theta)) * rc;
    return std::sqrt(std::pow(dL / sl, 2) + std::pow(dC / sc, 2) + std::pow(dH / sh, 2) +
                     rt * (dC / sc) * (dH / sh));
}

// Pairs of the published CIEDE2000 test data (Sharma, Wu and Dalal, 2005).
TEST(ColourBlind, TheColourDifferenceIsCiede2000) {
    struct Pair {
        Lab one;
        Lab two;
        double difference;
    };
    const Pair pairs[] = {
        {{50.0, 2.6772, -79.7751}, {50.0, 0.0, -82.7485}, 2.0425},
        {{50.0, 2.5, 0.0}, {73.0, 25.0, -18.0}, 27.1492},
        {{50.0, 2.5, 0.0}, {50.0, 0.0, -2.5}, 4.3065},
        {{60.2574, -34.0099, 36.2677}, {60.4626, -34.1751, 39.4387}, 1.2644},
        {{22.7233, 20.0904, -46.6940}, {23.0331, 14.9730, -42.5619}, 2.0373},
        {{2.0776, 0.0795, -1.1350}, {0.9033, -0.0636, -0.5514}, 0.9082},
    };
    for (const Pair& p : pairs) {
        EXPECT_NEAR(DeltaE2000(p.one, p.two), p.difference, 5e-5);
        EXPECT_NEAR(DeltaE2000(p.two, p.one), p.difference, 5e-5);
    }
}

/// The mean colour of the wire in frame 0 of a strip, shading and outline included.
QRgb MeanWireColour(const BmpFile& strip, const BmpFile& mask) {
    double r = 0, g = 0, b = 0;
    int n = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (mask.Pixel(x, y) == 0xFF000000) {
                const QRgb c = strip.Pixel(x, y);
                r += qRed(c);
                g += qGreen(c);
                b += qBlue(c);
                ++n;
            }
        }
    }
    return qRgb(int(std::lround(r / n)), int(std::lround(g / n)), int(std::lround(b / n)));
}

/// The smallest CIEDE2000 difference between any two of `colours` as `eye` sees them.
double Closest(const std::vector<QRgb>& colours, const Matrix& eye, std::string* which) {
    double closest = 1e9;
    for (std::size_t i = 0; i < colours.size(); ++i) {
        for (std::size_t j = i + 1; j < colours.size(); ++j) {
            const double d = DeltaE2000(Seen(colours[i], eye), Seen(colours[j], eye));
            if (d < closest) {
                closest = d;
                *which = std::to_string(i + 1) + " and " + std::to_string(j + 1);
            }
        }
    }
    return closest;
}

// Thin wires need a difference well above what is just noticeable (about 1 to 2).
constexpr double kClearlyApart = 12.0;

TEST(ColourBlind, TheColourBlindWiresStayApartWithoutRedOrGreenCones) {
    const BmpFile mask("images1/LineMask.bmp");
    ASSERT_TRUE(mask.Valid()) << mask.Problem();
    std::vector<QRgb> strips;
    std::vector<QRgb> bases;
    for (int i = 1; i <= 9; ++i) {
        const BmpFile strip(i <= 8 ? "images1/LineCB" + std::to_string(i) + ".bmp"
                                   : std::string("images1/Line9.bmp"));
        ASSERT_TRUE(strip.Valid()) << strip.Problem();
        strips.push_back(MeanWireColour(strip, mask));
        bases.push_back(QRgb(0xFF000000U | WireColour(WirePalette::ColourBlind, i)));
    }
    struct Eye {
        const char* name;
        const Matrix& matrix;
    };
    for (const Eye& eye : {Eye{"normal", kSeeing}, Eye{"deuteranopia", kDeuteranopia},
                           Eye{"protanopia", kProtanopia}}) {
        std::string pair;
        const double seenOnWires = Closest(strips, eye.matrix, &pair);
        EXPECT_GT(seenOnWires, kClearlyApart) << eye.name << ": colours " << pair;
        std::printf("%s: smallest CIEDE2000 %.1f between the wires' colours %s", eye.name,
                    seenOnWires, pair.c_str());
        const double seenAsBase = Closest(bases, eye.matrix, &pair);
        EXPECT_GT(seenAsBase, kClearlyApart) << eye.name << ": base colours " << pair;
        std::printf(", %.1f between the base colours %s\n", seenAsBase, pair.c_str());
    }
}

} // namespace
