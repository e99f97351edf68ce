#include "bitmap_loader/IKaleidPixload.h"
#include "platform/com/ComPtr.h"
#include "platform/com/ComRuntime.h"
#include "platform/ui/ScriptedPrompter.h"
#include "tests/bitmap_loader/FakeCanvas.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Pixel = FakeCanvas::Pixel;

constexpr const char* kErrorCaption = "LoadABitmap Error";
constexpr const char* kCreateCaption = "LoadABitmap Kaleid.CreateBitmap(??,] Error";
constexpr const char* kPixelCaption = "LoadABitmap Kaleid.SetPixelBitmap(??,??,??,] Error";
constexpr std::int32_t kUntouched = -123;

void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

/// A 14-byte file header and a 40-byte information header with the fields the loader reads.
Bytes Header(std::uint32_t pixelOffset, std::int32_t width, std::int32_t height,
             std::uint16_t bitsPerPixel) {
    Bytes b(54, 0);
    b[0] = 'B'; // signature "BM"
    b[1] = 'M';
    Put32(b, 2, 0);            // file size (not consulted)
    Put32(b, 10, pixelOffset); // start of the pixel array
    Put32(b, 14, 40);          // information header size
    Put32(b, 18, static_cast<std::uint32_t>(width));
    Put32(b, 22, static_cast<std::uint32_t>(height));
    b[26] = 1; // planes
    b[28] = static_cast<std::uint8_t>(bitsPerPixel);
    b[29] = static_cast<std::uint8_t>(bitsPerPixel >> 8);
    return b;
}

/// 24 bits, 3 × 2: rows of 9 bytes padded to 12.
const Bytes kThreeByTwo24 = {
    // File header
    'B', 'M',    // signature
    78, 0, 0, 0, // file size: 54 + 2 rows of 12
    0, 0, 0, 0,  // reserved
    54, 0, 0, 0, // pixel array offset
    // Information header
    40, 0, 0, 0,      // header size
    3, 0, 0, 0,       // width
    2, 0, 0, 0,       // height
    1, 0,             // planes
    24, 0,            // bits per pixel
    0, 0, 0, 0,       // compression: none
    24, 0, 0, 0,      // image size
    0x13, 0x0B, 0, 0, // horizontal resolution
    0x13, 0x0B, 0, 0, // vertical resolution
    0, 0, 0, 0,       // colours used
    0, 0, 0, 0,       // important colours
    // Bottom row (y = 1): blue, green, red per pixel, then 3 padding bytes
    0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0xEE, 0xEE, 0xEE,
    // Top row (y = 0)
    0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0xEE, 0xEE, 0xEE};

/// 8 bits, 2 × 2, with an information header that claims 108 bytes: the colour table is
/// still the one at 54, not the decoy at 14 + 108.
Bytes TwoByTwo8() {
    Bytes b = {
        // File header
        'B', 'M', 146, 0, 0, 0, 0, 0, 0, 0, 138, 0, 0, 0, // pixel array offset
        // Information header
        108, 0, 0, 0, // header size: claims a larger header
        2, 0, 0, 0,   // width
        2, 0, 0, 0,   // height
        1, 0, 8, 0,   // planes, bits per pixel
        0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0,
        // Colour table at 54: blue, green, red, reserved
        0x10, 0x20, 0x30, 0, // 0
        0x40, 0x50, 0x60, 0, // 1
        0x70, 0x80, 0x90, 0, // 2
        0xA0, 0xB0, 0xC0, 0, // 3
    };
    b.resize(122, 0);              // rest of the claimed header
    b.insert(b.end(), 16, 0xFF);   // decoy table at 122
    b.insert(b.end(), {3, 0,       // bottom row: indices 3, 0
                       0xFF, 0xFF, // padding (an index with no entry, never read)
                       1, 2,       // top row: indices 1, 2
                       0xFF, 0xFF});
    return b;
}

class KaleidPixloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("tavsim-pixload-" + std::to_string(getpid()));
        fs::create_directories(folder_);
        ASSERT_EQ(CoCreateInstance(CLSID_KaleidPixload, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IKaleidPixload, loader_.PutVoid()),
                  S_OK)
            << CoLastErrorText();
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string Write(const Bytes& bytes, const std::string& name = "picture.bmp") {
        const std::string path = (folder_ / name).string();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    static ComPtr<FakeCanvas> Canvas(FakeCanvasOptions options = {}) {
        return ComPtr<FakeCanvas>::Attach(new FakeCanvas(std::move(options)));
    }
    HRESULT Load(const std::string& path, FakeCanvas* canvas) {
        result_ = kUntouched;
        return loader_->LoadABitmap(path, canvas, &result_);
    }
    void ExpectOneMessage(const std::string& text, const std::string& caption) {
        ASSERT_EQ(prompter_->messages.size(), 1u);
        EXPECT_EQ(prompter_->messages[0].text, text);
        EXPECT_EQ(prompter_->messages[0].title, caption);
        EXPECT_EQ(prompter_->messages[0].buttons, Prompter::Buttons::Ok);
        EXPECT_EQ(prompter_->messages[0].icon, Prompter::Icon::Error);
        prompter_->messages.clear();
    }

    fs::path folder_;
    ScopedScriptedPrompter prompter_;
    ComPtr<IKaleidPixload> loader_;
    std::int32_t result_ = kUntouched;
};

TEST_F(KaleidPixloadTest, Loads24BitRowsTopDownSkippingPadding) {
    auto canvas = Canvas();
    ASSERT_EQ(Load(Write(kThreeByTwo24), canvas.Get()), S_OK);
    EXPECT_EQ(result_, 7);
    EXPECT_EQ(canvas->created, (std::vector<std::pair<std::int32_t, std::int32_t>>{{3, 2}}));
    EXPECT_EQ(canvas->pixels, (std::vector<Pixel>{{7, 0, 0, 0xFF0000},
                                                  {7, 1, 0, 0x00FF00},
                                                  {7, 2, 0, 0x0000FF},
                                                  {7, 0, 1, 0x010203},
                                                  {7, 1, 1, 0x040506},
                                                  {7, 2, 1, 0x070809}}));
    EXPECT_TRUE(prompter_->messages.empty());
    // By name, as a method, with integer arguments and the locales of the platform.
    EXPECT_EQ(canvas->lookupLocales, (std::vector<LCID>{LOCALE_USER_DEFAULT, LOCALE_USER_DEFAULT}));
    ASSERT_EQ(canvas->calls.size(), 7u);
    for (std::size_t i = 0; i < canvas->calls.size(); ++i) {
        const FakeCanvas::Call& call = canvas->calls[i];
        EXPECT_EQ(call.lcid, LOCALE_SYSTEM_DEFAULT);
        EXPECT_EQ(call.flags, DISPATCH_METHOD);
        EXPECT_EQ(call.types, std::vector<VARTYPE>(i == 0 ? 2 : 4, VT_I4));
    }
}

TEST_F(KaleidPixloadTest, Loads8BitWithTheColourTableAt54) {
    auto canvas = Canvas();
    ASSERT_EQ(Load(Write(TwoByTwo8()), canvas.Get()), S_OK);
    EXPECT_EQ(
        canvas->pixels,
        (std::vector<Pixel>{
            {7, 0, 0, 0x405060}, {7, 1, 0, 0x708090}, {7, 0, 1, 0xA0B0C0}, {7, 1, 1, 0x102030}}));
}

TEST_F(KaleidPixloadTest, OtherDepthsAndEmptySizesGiveOnlyTheBitmap) {
    struct Row {
        std::uint16_t bits;
        std::int32_t width, height;
    };
    const Row rows[] = {{1, 5, 3},  {4, 5, 3},   {16, 5, 3}, {32, 5, 3}, {0, 5, 3},
                        {24, 4, 0}, {24, 4, -2}, {8, 0, 3},  {8, -1, 3}};
    for (const Row& row : rows) {
        // Only the header: nothing beyond it is read for these.
        auto canvas = Canvas();
        EXPECT_EQ(Load(Write(Header(54, row.width, row.height, row.bits)), canvas.Get()), S_OK);
        EXPECT_EQ(result_, 7);
        EXPECT_EQ(canvas->created,
                  (std::vector<std::pair<std::int32_t, std::int32_t>>{{row.width, row.height}}));
        EXPECT_TRUE(canvas->pixels.empty()) << row.bits << " bits";
    }
    EXPECT_TRUE(prompter_->messages.empty());
}

TEST_F(KaleidPixloadTest, FilesThatCannotHoldTheirPicturesAreRefusedBeforeCreating) {
    auto withPixels = [](Bytes b, std::size_t count, std::uint8_t value = 0) {
        b.insert(b.end(), count, value);
        return b;
    };
    struct Row {
        const char* what;
        Bytes file;
        bool accepted;
    };
    Bytes tinyTable = withPixels(Header(58, 1, 1, 8), 5); // one table entry, then the pixel
    tinyTable[58] = 200;                                  // ...whose entry is not in the file
    const Row rows[] = {
        {"no pixel bytes at all", withPixels(Header(54, 1, 1, 24), 0), false},
        {"header cut", Bytes(kThreeByTwo24.begin(), kThreeByTwo24.begin() + 53), false},
        {"a row short", withPixels(Header(54, 2, 2, 24), 8 + 5), false},
        {"last row without padding", withPixels(Header(54, 2, 2, 24), 8 + 6), true},
        {"pixel array beyond the end", withPixels(Header(1000, 1, 1, 24), 16), false},
        {"absurd size", withPixels(Header(54, 0x7FFFFFFF, 0x7FFFFFFF, 24), 12), false},
        {"huge width", withPixels(Header(54, 0x7FFFFFFF, 2, 24), 64), false},
        {"colour index beyond the file", tinyTable, false},
    };
    for (const Row& row : rows) {
        auto canvas = Canvas();
        const HRESULT hr = Load(Write(row.file), canvas.Get());
        if (row.accepted) {
            EXPECT_EQ(hr, S_OK) << row.what;
            EXPECT_EQ(canvas->pixels.size(), 4u) << row.what;
            continue;
        }
        EXPECT_EQ(hr, E_FAIL) << row.what;
        EXPECT_TRUE(canvas->created.empty()) << row.what;
        EXPECT_EQ(result_, kUntouched) << row.what;
        ExpectOneMessage("bad bitmap file..", kErrorCaption);
    }
}

TEST_F(KaleidPixloadTest, UnreadablePathsAreRefusedBeforeCreating) {
    const std::string good = Write(kThreeByTwo24);
    const std::string rows[] = {
        (folder_ / "missing.bmp").string(),
        folder_.string(),              // a folder
        good + std::string("\0x", 2),  // a name with a zero byte in it
        std::string(1024, '/') + good, // longer than the conversion buffer
    };
    for (const std::string& path : rows) {
        auto canvas = Canvas();
        EXPECT_EQ(Load(path, canvas.Get()), E_FAIL) << path.size();
        EXPECT_TRUE(canvas->created.empty());
        EXPECT_EQ(result_, kUntouched);
        ExpectOneMessage("can't read file..", kErrorCaption);
    }
}

TEST_F(KaleidPixloadTest, MissingMembersAreReportedByNumber) {
    const std::string path = Write(kThreeByTwo24);
    FakeCanvasOptions options;
    options.hasCreateBitmap = false;
    auto noCreate = Canvas(options);
    EXPECT_EQ(Load(path, noCreate.Get()), E_FAIL);
    EXPECT_EQ(result_, kUntouched);
    ExpectOneMessage("[1]", "LoadABitmap Invoke CreateBitmap Error");

    options = {};
    options.hasSetPixelBitmap = false;
    auto noPixels = Canvas(options);
    EXPECT_EQ(Load(path, noPixels.Get()), E_FAIL);
    EXPECT_EQ(result_, 7) << "the bitmap was made and stays";
    ExpectOneMessage("[2]", "LoadABitmap Invoke SetPixelBitmap Error");
}

TEST_F(KaleidPixloadTest, AFailingPixelEndsTheLoadAndKeepsTheBitmap) {
    FakeCanvasOptions options;
    options.failPixel = 2;
    options.pixelError = DISP_E_OVERFLOW;
    auto canvas = Canvas(options);
    EXPECT_EQ(Load(Write(kThreeByTwo24), canvas.Get()), E_FAIL);
    EXPECT_EQ(result_, 7);
    EXPECT_EQ(canvas->pixels.size(), 2u);
    EXPECT_EQ(canvas->calls.size(), 1u + 3u) << "nothing after the failing call";
    ExpectOneMessage("DISP_E_OVERFLOW", kPixelCaption);
}

TEST_F(KaleidPixloadTest, AFailedCreateNamesItsCode) {
    struct Row {
        HRESULT code;
        const char* text;
    };
    const Row rows[] = {
        {DISP_E_TYPEMISMATCH, "DISP_E_TYPEMISMATCH"},
        {DISP_E_OVERFLOW, "DISP_E_OVERFLOW"},
        {DISP_E_PARAMNOTOPTIONAL, "DISP_E_PARAMNOTOPTIONAL"},
        {E_UNEXPECTED, "E_UNEXPECTED"},
        {E_FAIL, "80004005"},
        {DISP_E_UNKNOWNNAME, "80020006"},
        {DISP_E_BADINDEX, "8002000b"},
    };
    const std::string path = Write(kThreeByTwo24);
    for (const Row& row : rows) {
        FakeCanvasOptions options;
        options.createFails = row.code;
        auto canvas = Canvas(options);
        EXPECT_EQ(Load(path, canvas.Get()), E_FAIL);
        EXPECT_EQ(result_, kUntouched);
        EXPECT_TRUE(canvas->pixels.empty());
        ExpectOneMessage(row.text, kCreateCaption);
    }
}

TEST_F(KaleidPixloadTest, WithoutACanvasOrAnOutputNothingHappens) {
    const std::string path = Write(kThreeByTwo24);
    EXPECT_EQ(Load(path, nullptr), E_FAIL);
    EXPECT_EQ(result_, kUntouched);
    auto canvas = Canvas();
    EXPECT_EQ(loader_->LoadABitmap(path, canvas.Get(), nullptr), E_POINTER);
    EXPECT_TRUE(canvas->calls.empty());
    EXPECT_TRUE(prompter_->messages.empty());
}

TEST_F(KaleidPixloadTest, IsCallableByName) {
    const char* name = "loadabitmap";
    DISPID id = 0;
    ASSERT_EQ(loader_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    EXPECT_EQ(id, DISPID_LoadABitmap);

    const std::string path = Write(kThreeByTwo24);
    auto canvas = Canvas();
    VARIANT args[2] = {VARIANT::Dispatch(canvas.Get()), VARIANT::Str(path)}; // last one first
    DISPPARAMS params{args, nullptr, 2, 0};
    VARIANT result;
    ASSERT_EQ(loader_->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &params,
                              &result, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(result.vt(), VT_I4);
    EXPECT_EQ(result.lVal(), 7);
    EXPECT_EQ(canvas->pixels.size(), 6u);
    args[0] = VARIANT::I4(1); // not an object
    EXPECT_EQ(loader_->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &params,
                              &result, nullptr, nullptr),
              DISP_E_TYPEMISMATCH);
}

} // namespace
