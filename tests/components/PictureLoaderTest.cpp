// Pictures through the BMP loader component: a missing picture stops a component's
// Constructor with the file's name, after the loader has shown its message.

#include "app/components/PictureLoader.h"

#include "app/board/clsCursor.h"
#include "app/components/PictureLoadError.h"
#include "app/components/clsBordLines.h"
#include "app/components/clsDisplay.h"
#include "app/components/clsLED.h"
#include "app/components/clsSensor.h"
#include "app/components/clsVoltControl.h"
#include "platform/ui/ProgramFolder.h"
#include "platform/ui/ScriptedPrompter.h"
#include "tests/components/ComponentsTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <optional>
#include <string>

namespace {

using components_test::OnCanvas;

/// Points every loader at another folder for the life of the guard.
class FolderOverride {
public:
    explicit FolderOverride(const QString& folder) { ProgramFolder::SetPath(folder.toStdString()); }
    ~FolderOverride() { ProgramFolder::SetPath(""); }
    FolderOverride(const FolderOverride&) = delete;
    FolderOverride& operator=(const FolderOverride&) = delete;
};

class MissingPicture : public OnCanvas {
protected:
    /// Runs `construct` with pictures taken from `folder`; the error it throws.
    std::optional<PictureLoadError> Construct(const QString& folder,
                                              const std::function<void()>& construct) {
        FolderOverride override(folder);
        try {
            construct();
        } catch (const PictureLoadError& e) {
            return e;
        }
        return std::nullopt;
    }

    QTemporaryDir empty;
};

TEST_F(MissingPicture, StopsEveryComponentAtItsFirstPicture) {
    clsBordLines lines;
    clsLED led;
    clsDisplay display;
    clsSensor sensor;
    clsVoltControl knob;
    clsCursor cursor;
    struct Case {
        const char* component;
        std::function<void()> construct;
        const char* file;
    };
    const Case cases[] = {
        {"clsBordLines", [&] { lines.Constructor(canvas); }, "/images1/Line1.bmp"},
        {"clsLED", [&] { led.Constructor(canvas, 373, 27); }, "/images2/RedLight.bmp"},
        {"clsDisplay", [&] { display.Constructor(canvas); }, "/images2/Display0.bmp"},
        {"clsSensor", [&] { sensor.Constructor(canvas, 20, 25); }, "/images2/Sensors.bmp"},
        {"clsVoltControl", [&] { knob.Constructor(canvas); }, "/images2/0-5V.bmp"},
        {"clsCursor", [&] { cursor.Constructor(canvas); }, "/images2/HighLight.bmp"},
    };
    ASSERT_TRUE(empty.isValid());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.component);
        ScopedScriptedPrompter prompter;
        const std::size_t sprites = canvas.SpriteCount();
        const auto error = Construct(empty.path(), c.construct);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->File(), empty.path().toStdString() + c.file);
        EXPECT_NE(std::string(error->what()).find(error->File()), std::string::npos);
        ASSERT_EQ(prompter->messages.size(), 1u);
        EXPECT_EQ(prompter->messages[0].text, "can't read file..");
        EXPECT_EQ(prompter->messages[0].title, "LoadABitmap Error");
        EXPECT_EQ(canvas.SpriteCount(), sprites);
    }
}

TEST_F(MissingPicture, NamesTheFirstMissingFileAfterThoseThatLoaded) {
    ASSERT_TRUE(empty.isValid());
    ASSERT_TRUE(QDir(empty.path()).mkdir("images2"));
    const QString program = QCoreApplication::applicationDirPath();
    ASSERT_TRUE(
        QFile::copy(program + "/images2/RedLight.bmp", empty.path() + "/images2/RedLight.bmp"));

    ScopedScriptedPrompter prompter;
    clsLED led;
    const auto error = Construct(empty.path(), [&] { led.Constructor(canvas, 373, 27); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->File(), empty.path().toStdString() + "/images2/RedLightMask.bmp");
    EXPECT_EQ(prompter->messages.size(), 1u);
    led.SetValue(true); // a half-made lamp must not crash
    led.SetValue(false);
}

} // namespace
