// Start-up of the main window: the board objects at their places, the first window size, a
// data file that cannot be loaded, and closing right after start-up.

#include "BoardTestSupport.h"
#include "app/board/clsCursor.h"
#include "app/components/PictureLoader.h"
#include "app/components/clsDisplay.h"
#include "app/components/clsLED.h"
#include "app/components/clsSensor.h"
#include "app/components/clsVoltControl.h"
#include "app/simulation/clsGraph.h"
#include "app/sound/UCWaveIn.h"
#include "platform/registry/Registry.h"
#include "platform/ui/ProgramFolder.h"
#include "sprite_control/KaleidoATL.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>

namespace board_test {
namespace {

using Form1Startup = OnForm;

TEST_F(Form1Startup, BuildsTheBoardAndStartsTheTimer) {
    form = std::make_unique<FORM1>();
    ASSERT_TRUE(form->Form_Load());
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->windowTitle().toStdString(), "Tavelon 2.0 demonstratie");
    EXPECT_TRUE(form->Timer1()->isActive());
    EXPECT_EQ(form->Timer1()->interval(), 10);

    KaleidoATL* canvas = form->Kaleido1();
    EXPECT_EQ(form->centralWidget(), canvas);
    EXPECT_EQ(canvas->BoardSize(), QSize(420, 360));

    for (int k = 1; k <= 4; ++k) {
        ASSERT_NE(form->LED(k), nullptr) << k;
        EXPECT_EQ(form->LED(k)->Sprite(), 0) << k;
    }
    // Lamps and sensors at their places: a lit push button and the sensor pictures.
    form->Model().SetPushButton(1, true);
    const auto lamp = canvas->SpriteInfo(form->PushButton(2)->Sprite());
    ASSERT_TRUE(lamp.has_value());
    EXPECT_EQ(QPoint(lamp->x, lamp->y), QPoint(13, 198));
    const auto sensor = canvas->SpriteInfo(form->Sensor(2)->Sprite());
    ASSERT_TRUE(sensor.has_value());
    EXPECT_EQ(QPoint(sensor->x, sensor->y), QPoint(20, 78));
    EXPECT_EQ(form->Display()->Value(), 0);
    ASSERT_NE(form->Knob(), nullptr);
    EXPECT_FALSE(form->Knob()->Visible());
    EXPECT_EQ(form->Knob()->Value(), 0.0);

    UCWaveIn* sound = form->UCWaveIn1();
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(sound->parent(), form.get());
    EXPECT_FALSE(sound->isVisible());
    EXPECT_EQ(sound->size(), QSize(0, 0));
    EXPECT_EQ(sound->GetVolume(), 0);

    // A second start-up builds nothing twice.
    const std::size_t sprites = canvas->SpriteCount();
    EXPECT_TRUE(form->Form_Load());
    EXPECT_EQ(canvas->SpriteCount(), sprites);
}

TEST_F(Form1Startup, FirstWindowShowsTheBoardAtAWholeScaleCentred) {
    Start();
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize chrome(0, form->height() - form->Kaleido1()->height());
    const int scale = FORM1::InitialBoardScale(QSize(420, 360), available.size(), chrome);
    EXPECT_EQ(form->Kaleido1()->size(), QSize(420, 360) * scale);
    EXPECT_DOUBLE_EQ(form->Kaleido1()->Scale(), scale);
    EXPECT_LE((form->geometry().center() - available.center()).manhattanLength(), 1);
}

struct ScaleRow {
    QSize available;
    int scale;
};

TEST(Form1InitialScale, LargestWholeScaleThatFitsTheScreen) {
    const QSize board(420, 360);
    const QSize chrome(0, 20);
    const ScaleRow rows[] = {
        {{1280, 1024}, 2},
        {{800, 600}, 1},
        {{1920, 1080}, 2},
        // 2.5 is the limit, so a large screen still gets 2.
        {{3840, 2160}, 2},
        // The board does not even fit at 1: it still gets 1.
        {{300, 200}, 1},
        // 840 × 740 fits in 85 % of 989 × 871, not of 988 wide or 870 high.
        {{989, 871}, 2},
        {{988, 871}, 1},
        {{989, 870}, 1},
    };
    for (const ScaleRow& row : rows) {
        EXPECT_EQ(FORM1::InitialBoardScale(board, row.available, chrome), row.scale)
            << row.available.width() << "x" << row.available.height();
    }
}

TEST_F(Form1Startup, SluitenRightAfterStartUpClosesWithoutAsking) {
    Start();
    form->Timer1()->start();
    form->findChild<QAction*>("mnuSluiten")->trigger();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_FALSE(form->Timer1()->isActive());
    EXPECT_EQ(form->Graph(), nullptr);
    EXPECT_EQ(form->LED(1), nullptr);
    EXPECT_EQ(form->Knob(), nullptr);
    // A tick that still arrives finds no board and does nothing.
    form->Timer1_Timer();
}

/// A copy of the program's data files with one of them left out.
class DataFolderWithout {
public:
    explicit DataFolderWithout(const QString& missing) {
        const QString from = QCoreApplication::applicationDirPath();
        const QStringList files = {"Ringin.wav", "SILENCE.wav"};
        for (const QString& file : files) {
            QFile::copy(from + "/" + file, dir_.path() + "/" + file);
        }
        for (const QString folder : {"images1", "images2"}) {
            QDir().mkpath(dir_.path() + "/" + folder);
            QDirIterator it(from + "/" + folder, QDir::Files);
            while (it.hasNext()) {
                it.next();
                QFile::copy(it.filePath(), dir_.path() + "/" + folder + "/" + it.fileName());
            }
        }
        QFile::remove(dir_.path() + "/" + missing);
        ProgramFolder::SetPath(dir_.path().toStdString());
    }
    ~DataFolderWithout() { ProgramFolder::SetPath(""); }
    std::string Path() const { return dir_.path().toStdString(); }

private:
    QTemporaryDir dir_;
};

TEST_F(Form1Startup, AMissingPictureStopsTheStartWithADutchMessage) {
    // The first picture, one of the wire strips, one of a numbered series and the last one.
    const char* missing[] = {
        "images2/Bord.bmp",
        "images1/LineMask.bmp",
        "images2/Display7.bmp",
        "images2/VPointerMask.bmp",
    };
    for (const char* file : missing) {
        SCOPED_TRACE(file);
        DataFolderWithout folder(file);
        prompter.messages.clear();
        FORM1 failed;
        EXPECT_FALSE(failed.Form_Load());
        // The loader's own message first, then the program's.
        ASSERT_EQ(prompter.messages.size(), 2U);
        EXPECT_EQ(prompter.messages[1].text, "Het bestand " + folder.Path() + "/" + file +
                                                 " kan niet worden geladen. Tavelon kan "
                                                 "niet starten.");
        EXPECT_EQ(prompter.messages[1].title, "Fout");
        EXPECT_FALSE(failed.isVisible());
        EXPECT_FALSE(failed.Timer1()->isActive());
        EXPECT_EQ(failed.Graph(), nullptr);
        EXPECT_EQ(failed.Cursor(), nullptr);
        // The failed start stays failed.
        EXPECT_FALSE(failed.Form_Load());
        failed.Timer1_Timer();
    }
}

// A registration that leads to a library that is not there: the message names the component
// and why it could not be made, not a picture.
TEST_F(Form1Startup, AMissingComponentLibraryIsNamedWithItsReason) {
    Registry& registry = Registry::Instance();
    const std::string clsid = "{5A1E0002-7AB5-4C0D-9E11-000000000002}";
    registry.SetString(RegistryRoot::ClassesRoot, "KaleidPixload.KaleidPixload\\CLSID", "", clsid);
    registry.SetString(RegistryRoot::ClassesRoot, "CLSID\\" + clsid + "\\InprocServer32", "",
                       "/nonexistent/libpixload.so");
    prompter.messages.clear();
    FORM1 failed;
    EXPECT_FALSE(failed.Form_Load());
    registry.DeleteKey(RegistryRoot::ClassesRoot, "KaleidPixload.KaleidPixload");
    registry.DeleteKey(RegistryRoot::ClassesRoot, "CLSID\\" + clsid);
    ASSERT_EQ(prompter.messages.size(), 1U);
    const std::string& text = prompter.messages[0].text;
    EXPECT_EQ(text.rfind("Het onderdeel KaleidPixload.KaleidPixload (plaatjes laden) kan niet "
                         "worden gemaakt: ",
                         0),
              0U)
        << text;
    EXPECT_NE(text.find("/nonexistent/libpixload.so kan niet worden geladen: niet gevonden"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find(clsid), std::string::npos) << text;
    EXPECT_EQ(text.find("Bord.bmp"), std::string::npos) << text;
    EXPECT_EQ(prompter.messages[0].title, "Fout");
}

} // namespace
} // namespace board_test
