// The main window's menu bar: structure, captions, shortcuts and start states, the edit-mode
// items and the Help commands.

#include "BoardTestSupport.h"
#include "app/board/WireColourSetting.h"
#include "app/components/clsLine.h"
#include "app/info/HelpMenu.h"
#include "app/info/OpenURL.h"
#include "app/info/frmHelp.h"
#include "app/sound/UCWaveIn.h"
#include "app/sound/frmWaveInputs.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <string>
#include <vector>

namespace board_test {
namespace {

class Form1Menu : public OnForm {
protected:
    void SetUp() override { Start(); }
};

struct MenuRow {
    const char* menu;
    const char* title;
    std::vector<std::string> items;
};

TEST_F(Form1Menu, MenusHoldTheirItemsInOrderWithSeparators) {
    const MenuRow rows[] = {
        {"mnuBestand",
         "&Bestand",
         {"mnuNieuw", "mnuOpenen", "mnuBewaren", "mnuBewarenAls", "mnuSep1", "mnuSluiten"}},
        {"mnuBewerken",
         "Be&werken",
         {"mnuUndo", "mnuRedo", "mnuSep2", "mnuGeluidSensor", "mnuMeetgrafiek", "mnuKleurenblind"}},
        {"mnuCursor",
         "Cursor",
         {"mnuRegelen", "mnuNieuweVerbindingen", "mnuVerwijderVerbindingen"}},
        {"mnuHelp", "&Help", {"mnuHelpInfo", "mnuUitleg", "mnuHelpAbout"}},
    };
    const QList<QAction*> bar = form->menuBar()->actions();
    ASSERT_EQ(bar.size(), qsizetype(std::size(rows)));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(rows[i].menu);
        QMenu* menu = bar[qsizetype(i)]->menu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->objectName().toStdString(), rows[i].menu);
        EXPECT_EQ(menu->title().toStdString(), rows[i].title);
        std::vector<std::string> names;
        for (const QAction* action : menu->actions()) {
            names.push_back(action->objectName().toStdString());
        }
        EXPECT_EQ(names, rows[i].items);
    }
    EXPECT_TRUE(Item("mnuSep1")->isSeparator());
    EXPECT_TRUE(Item("mnuSep2")->isSeparator());
}

struct ItemRow {
    const char* name;
    const char* caption;
    const char* shortcut;
    bool enabled;
    bool checkable;
    bool checked;
};

TEST_F(Form1Menu, ItemsHaveCaptionsShortcutsAndStartStates) {
    const ItemRow rows[] = {
        {"mnuNieuw", "Nieuw", "Ctrl+N", true, false, false},
        {"mnuOpenen", "Openen", "Ctrl+O", true, false, false},
        {"mnuBewaren", "Bewaren", "Ctrl+S", false, false, false},
        {"mnuBewarenAls", "Bewaren als..", "", true, false, false},
        {"mnuSluiten", "Sluiten", "", true, false, false},
        // Nothing to undo or redo on a fresh board.
        {"mnuUndo", "&Ongedaan maken", "Ctrl+Z", false, false, false},
        {"mnuRedo", "&Herhalen", "Ctrl+Y", false, false, false},
        {"mnuGeluidSensor", "GeluidSensor", "", true, false, false},
        {"mnuMeetgrafiek", "&Meetgrafiek", "Ctrl+M", true, false, false},
        // The usual wire colours unless the user chose otherwise.
        {"mnuKleurenblind", "Kleuren voor kleurenblinden", "", true, true, false},
        {"mnuRegelen", "Regelen", "", true, true, false},
        {"mnuNieuweVerbindingen", "Nieuwe verbindingen", "", true, true, true},
        {"mnuVerwijderVerbindingen", "Verwijder verbindingen", "", true, true, false},
        {"mnuHelpInfo", "Info", "", true, false, false},
        {"mnuUitleg", "Uitleg", "", true, false, false},
        {"mnuHelpAbout", "Op internet: Over Tavelon", "", true, false, false},
    };
    for (const ItemRow& row : rows) {
        SCOPED_TRACE(row.name);
        QAction* action = Item(row.name);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text().toStdString(), row.caption);
        EXPECT_EQ(action->shortcut().toString(QKeySequence::PortableText).toStdString(),
                  row.shortcut);
        EXPECT_EQ(action->isEnabled(), row.enabled);
        EXPECT_EQ(action->isCheckable(), row.checkable);
        EXPECT_EQ(action->isChecked(), row.checked);
    }
    EXPECT_EQ(form->EditMode(), FORM1::kModeNewWires);
}

struct ModeStep {
    const char* trigger;
    std::int32_t mode;
    bool regelen;
    bool nieuwe;
    bool verwijder;
};

TEST_F(Form1Menu, ModeItemsCheckThemselvesAndSetTheEditMode) {
    const ModeStep steps[] = {
        {"mnuRegelen", FORM1::kModeOperate, true, false, false},
        // Choosing the present mode again keeps it checked.
        {"mnuRegelen", FORM1::kModeOperate, true, false, false},
        {"mnuVerwijderVerbindingen", FORM1::kModeDeleteWires, false, false, true},
        {"mnuNieuweVerbindingen", FORM1::kModeNewWires, false, true, false},
        {"mnuNieuweVerbindingen", FORM1::kModeNewWires, false, true, false},
    };
    for (const ModeStep& step : steps) {
        SCOPED_TRACE(step.trigger);
        Item(step.trigger)->trigger();
        EXPECT_EQ(form->EditMode(), step.mode);
        EXPECT_EQ(Item("mnuRegelen")->isChecked(), step.regelen);
        EXPECT_EQ(Item("mnuNieuweVerbindingen")->isChecked(), step.nieuwe);
        EXPECT_EQ(Item("mnuVerwijderVerbindingen")->isChecked(), step.verwijder);
    }
}

TEST_F(Form1Menu, OnlyNewWiresModeTakesTheHighlightOffTheWires) {
    auto a = Wire("Sensor 1 Uit Geel", "LED 1 Ingang");
    auto b = Wire("Sensor 2 Uit Geel", "LED 2 Ingang");
    Item("mnuVerwijderVerbindingen")->trigger();
    a->SetHighlight(-1);
    Item("mnuRegelen")->trigger();
    EXPECT_EQ(a->Highlight(), -1);
    Item("mnuNieuweVerbindingen")->trigger();
    EXPECT_EQ(a->Highlight(), 0);
    EXPECT_EQ(b->Highlight(), 0);
}

TEST_F(Form1Menu, UitlegTwiceShowsOneHelpWindow) {
    Item("mnuUitleg")->trigger();
    Item("mnuUitleg")->trigger();
    int helpWindows = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<frmHelp*>(w) != nullptr && w->isVisible()) {
            ++helpWindows;
        }
    }
    EXPECT_EQ(helpWindows, 1);
    frmHelp::DestroyShared();
}

TEST_F(Form1Menu, WebsiteItemTellsTheUserAndOpensTheSite) {
    std::vector<std::string> opened;
    SetUrlOpener([&opened](const std::string& address) {
        opened.push_back(address);
        return true;
    });
    Item("mnuHelpAbout")->trigger();
    SetUrlOpener({});
    ASSERT_EQ(prompter.messages.size(), 1U);
    EXPECT_EQ(prompter.messages[0].title, "Tavelon Simulator");
    EXPECT_EQ(opened, std::vector<std::string>{HelpMenu::WebsiteAddress});
}

TEST_F(Form1Menu, GeluidSensorShowsANewSoundChooserModallyEachTime) {
    std::vector<const QWidget*> shown;
    QStringList counts;
    const auto closeWhenShown = [&] {
        QTimer::singleShot(0, [&] {
            auto* chooser = qobject_cast<frmWaveInputs*>(QApplication::activeModalWidget());
            if (chooser == nullptr) {
                return;
            }
            shown.push_back(chooser);
            EXPECT_EQ(chooser->windowTitle(), "Geluid Sensor");
            EXPECT_EQ(chooser->parentWidget(), form.get());
            counts << chooser->labInputCount()->text();
            chooser->btnOK()->click();
        });
    };
    QTimer guard;
    guard.setInterval(3000);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
        }
    });
    guard.start();
    for (int i = 0; i < 2; ++i) {
        closeWhenShown();
        Item("mnuGeluidSensor")->trigger();
    }
    ASSERT_EQ(shown.size(), 2U);
    const QString expected =
        QStringLiteral("Aantal inputs: %1").arg(form->UCWaveIn1()->GetUsedCount());
    EXPECT_EQ(counts, QStringList({expected, expected}));
    // Each window is gone once it has been closed.
    EXPECT_EQ(form->findChildren<frmWaveInputs*>().size(), 0);
}

/// The bitmaps the wire's sprites are drawn from.
std::vector<std::int32_t> WireBitmaps(const FORM1& form, const clsLine& line) {
    std::vector<std::int32_t> bitmaps;
    const auto group = form.Kaleido1()->GroupInfo(line.GroupLID());
    for (std::int32_t sprite : group ? group->members : std::vector<std::int32_t>{}) {
        bitmaps.push_back(form.Kaleido1()->SpriteInfo(sprite)->bitmap);
    }
    return bitmaps;
}

TEST_F(Form1Menu, TheColourBlindWireColoursAreKeptAndRedrawTheWires) {
    ASSERT_TRUE(WireColourSetting::Save(WirePalette::Normal));
    const auto wire = Wire("Drukknop 1 Uit Geel", "LED 1 Ingang");
    const std::int32_t normal = form->BordLines()->LineBitmap(1);
    // 263 pixels long: 26 sprites.
    ASSERT_EQ(WireBitmaps(*form, *wire), std::vector<std::int32_t>(26, normal));

    Item("mnuKleurenblind")->trigger();
    EXPECT_TRUE(Item("mnuKleurenblind")->isChecked());
    EXPECT_EQ(form->BordLines()->Palette(), WirePalette::ColourBlind);
    const std::int32_t colourBlind = form->BordLines()->LineBitmap(1);
    EXPECT_NE(colourBlind, normal);
    EXPECT_EQ(WireBitmaps(*form, *wire), std::vector<std::int32_t>(26, colourBlind));
    EXPECT_EQ(wire->Color(), 1);
    EXPECT_EQ(WireColourSetting::Load(), WirePalette::ColourBlind);
    EXPECT_EQ(frmHelp::LegendPalette(), WirePalette::ColourBlind);

    // The next start draws in the colours chosen.
    form.reset();
    Start();
    EXPECT_TRUE(Item("mnuKleurenblind")->isChecked());
    EXPECT_EQ(form->BordLines()->Palette(), WirePalette::ColourBlind);

    Item("mnuKleurenblind")->trigger();
    EXPECT_FALSE(Item("mnuKleurenblind")->isChecked());
    EXPECT_EQ(form->BordLines()->Palette(), WirePalette::Normal);
    EXPECT_EQ(WireColourSetting::Load(), WirePalette::Normal);
    EXPECT_EQ(frmHelp::LegendPalette(), WirePalette::Normal);
    EXPECT_TRUE(prompter.messages.empty());
}

} // namespace
} // namespace board_test
