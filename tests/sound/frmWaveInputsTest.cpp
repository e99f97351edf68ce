// The sound input chooser: its texts, its level bars and its buttons; and the way to the
// desktop's sound settings.

#include "app/sound/frmWaveInputs.h"

#include "app/sound/modControlPanel.h"
#include "tests/sound/SoundTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

namespace {

using frmWaveInputsTest = sound_test::WithVirtualInputs;

std::vector<int> BarWidths(const frmWaveInputs& form) {
    std::vector<int> widths;
    for (int i = 0; i <= 5; ++i) {
        const QLabel* bar = form.picVolume(i);
        widths.push_back(bar->isVisibleTo(&form) ? bar->width() : -1);
    }
    return widths;
}

TEST_F(frmWaveInputsTest, ListsTheInputsInUseWithTheirNames) {
    UseInputs("Microfoon=silence;Lijn=noformat;USB=silence");
    UCWaveIn wi;
    frmWaveInputs form;
    EXPECT_EQ(form.windowTitle(), "Geluid Sensor");
    EXPECT_EQ(form.size(), QSize(314, 286));
    EXPECT_EQ(form.labInputCount()->text(), "Aantal inputs:");
    form.Constructor(&wi);
    EXPECT_EQ(form.labInputCount()->text(), "Aantal inputs: 3");
    EXPECT_EQ(form.Label3(1)->text(), "(Microfoon)");
    EXPECT_EQ(form.Label3(2)->text(), "(Lijn) (Cannot be used)");
    EXPECT_EQ(form.Label3(3)->text(), "(USB)");
    EXPECT_EQ(form.Label3(4)->text(), "");
    EXPECT_EQ(form.Label3(5)->text(), "");
    const QString captions[] = {"Geluids-sensor", "Input #1", "Input #2",
                                "Input #3",       "Input #4", "Input #5"};
    for (int i = 0; i <= 5; ++i) {
        EXPECT_EQ(form.Label2(i)->text(), captions[i]);
    }
    EXPECT_EQ(form.Command1()->text(), QString::fromUtf8("Geluidsinstellingen\u2026"));
    EXPECT_EQ(form.btnOK()->text(), "OK");
    EXPECT_TRUE(form.labStatus()->isHidden());
    // The control says so itself when asked for the name of an input without the format.
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "Don't support 44.100 kHz, Mono, 8-bit");
    EXPECT_EQ(prompter.messages[0].title, "InName");
}

struct StatusCase {
    const char* setting;
    int devices;
    const char* failure;
    const char* status;
};

TEST_F(frmWaveInputsTest, SaysInOneLineWhyThereIsNoSoundInput) {
    const StatusCase cases[] = {
        {"On", 0, "", "Er is geen geluidsingang gevonden."},
        {"Off", 2, "", "Geluidsinvoer staat uit: de instelling TAVLON2/Sound/Value is \"Off\"."},
        {"On", 2, "de geluidsbibliotheek WavGrab2 is niet gevonden",
         "Geluidsinvoer is niet beschikbaar: de geluidsbibliotheek WavGrab2 is niet gevonden."},
    };
    for (const StatusCase& c : cases) {
        SCOPED_TRACE(c.status);
        SetSoundSetting(c.setting);
        UseSilentInputs(c.devices);
        WaveInControl::InstallMaker({});
        if (*c.failure != '\0') {
            FailControls(c.failure);
        }
        UCWaveIn wi;
        frmWaveInputs form;
        form.Constructor(&wi);
        EXPECT_EQ(form.labInputCount()->text(), "Aantal inputs: 0");
        EXPECT_EQ(form.labStatus()->text(), c.status);
        EXPECT_FALSE(form.labStatus()->isHidden());
        for (int i = 1; i <= 5; ++i) {
            EXPECT_EQ(form.Label3(i)->text(), "");
        }
        form.Timer1_Timer();
        EXPECT_EQ(BarWidths(form), (std::vector<int>{-1, -1, -1, -1, -1, -1}));
    }
}

/// Counts the geometry and visibility changes of the bars, which are what repaints them.
class BarChanges : public QObject {
public:
    explicit BarChanges(const frmWaveInputs& form) {
        for (int i = 0; i <= 5; ++i) {
            form.picVolume(i)->installEventFilter(this);
        }
    }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        const QEvent::Type t = event->type();
        if (t == QEvent::Resize || t == QEvent::Show || t == QEvent::Hide) {
            ++count;
        }
        return false;
    }
};

TEST_F(frmWaveInputsTest, BarsFollowTheLevelsStayHiddenAtZeroAndChangeOnlyWhenTheyMust) {
    UseInputs("A=silence;B=noformat;C=silence");
    UCWaveIn wi;
    wi.Timer1_Timer();
    frmWaveInputs form;
    form.show();
    Level(1, 100);
    form.Timer1_Timer(); // without a control to show: nothing
    EXPECT_EQ(BarWidths(form), (std::vector<int>{-1, -1, -1, -1, -1, -1}));
    form.Constructor(&wi);
    BarChanges changes(form);
    struct Step {
        int deviations[2];       // of inputs A and C; level = 256 × deviation
        std::vector<int> widths; // bars 0 to 5; -1 hidden
    };
    // Bar 0 is GetVolume × 200 / 50, bar i the input's level / peak × 200; the input that
    // cannot be used (B) keeps its bar hidden.
    const Step steps[] = {
        {{0, 0}, {-1, -1, -1, -1, -1, -1}},  {{100, 50}, {200, 200, -1, 100, -1, -1}},
        {{25, 0}, {48, 50, -1, -1, -1, -1}}, // 12.5 rounds to 12
        {{0, 1}, {-1, -1, -1, 2, -1, -1}},   // 0.5 rounds to 0
        {{0, 0}, {-1, -1, -1, -1, -1, -1}},
    };
    for (const Step& s : steps) {
        Level(1, s.deviations[0]);
        Level(3, s.deviations[1]);
        form.Timer1_Timer();
        EXPECT_EQ(BarWidths(form), s.widths) << s.deviations[0] << " " << s.deviations[1];
        // The same levels again: nothing is moved, shown or hidden.
        const int before = changes.count;
        form.Timer1_Timer();
        form.Timer1_Timer();
        EXPECT_EQ(changes.count, before) << s.deviations[0] << " " << s.deviations[1];
    }
    EXPECT_GT(changes.count, 0);
}

TEST_F(frmWaveInputsTest, OkEndsTheModalWindowAndItsTimerRunsWhileShown) {
    UseInputs("A=silence");
    UCWaveIn wi;
    wi.Timer1_Timer();
    Level(1, 10);
    frmWaveInputs form;
    form.Constructor(&wi);
    int barWhileShown = -1;
    QTimer::singleShot(100, [&] {
        barWhileShown = form.picVolume(0)->isVisibleTo(&form) ? form.picVolume(0)->width() : 0;
        form.btnOK()->click();
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &form, &QDialog::reject);
    guard.start(5000);
    form.exec();
    EXPECT_TRUE(guard.isActive()) << "OK did not end the window";
    EXPECT_EQ(barWhileShown, 200);
    EXPECT_FALSE(form.isVisible());
}

struct FinderCase {
    std::vector<const char*> installed;
    const char* command;
};

TEST(SoundSettings, TheFirstSettingsProgramFoundIsStarted) {
    const FinderCase cases[] = {
        {{}, ""},
        {{"pavucontrol", "gnome-control-center"}, "pavucontrol"},
        {{"gnome-control-center", "pavucontrol-qt"}, "pavucontrol-qt"},
        {{"systemsettings", "gnome-control-center"}, "gnome-control-center sound"},
        {{"systemsettings"}, "systemsettings kcm_pulseaudio"},
        {{"mate-volume-control"}, "mate-volume-control"},
        {{"cinnamon-settings"}, "cinnamon-settings sound"},
    };
    for (const FinderCase& c : cases) {
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        for (const char* name : c.installed) {
            QFile program(folder.filePath(name));
            ASSERT_TRUE(program.open(QIODevice::WriteOnly));
            program.write("#!/bin/sh\n");
            program.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        }
        EXPECT_EQ(modControlPanel::SoundSettingsCommand({folder.path()}), c.command);
    }
}

TEST_F(frmWaveInputsTest, TheSettingsButtonStartsTheProgramFoundAndIsSilentWithoutOne) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QByteArray path = qgetenv("PATH");
    const QString started = folder.filePath("started");
    {
        QFile program(folder.filePath("pavucontrol"));
        ASSERT_TRUE(program.open(QIODevice::WriteOnly));
        program.write(("#!/bin/sh\n: > '" + started + "'\n").toUtf8());
        program.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    }
    UCWaveIn wi;
    frmWaveInputs form;
    form.Constructor(&wi);

    qputenv("PATH", folder.path().toUtf8() + ":" + path);
    form.Command1()->click();
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(started) && waited.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    EXPECT_TRUE(QFile::exists(started)) << "pavucontrol was not started";

    QFile::remove(folder.filePath("pavucontrol"));
    qputenv("PATH", QDir(folder.filePath("empty")).path().toUtf8());
    form.Command1()->click(); // nothing to start: no message, no crash
    qputenv("PATH", path);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(form.isHidden() || form.isVisible());
}

} // namespace
