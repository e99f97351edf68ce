#include "app/info/HelpMenu.h"

#include "app/info/OpenURL.h"
#include "app/info/frmAbout.h"
#include "app/info/frmHelp.h"
#include "platform/ui/ScriptedPrompter.h"
#include "tests/info/InfoTestFolder.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

int HelpWindowCount() {
    int count = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<frmHelp*>(window) != nullptr) {
            ++count;
        }
    }
    return count;
}

class HelpMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.Write("html/HelpNL.htm", "<p>Nederlandse hulp</p>");
        folder.Write("html/HelpENG.htm", "<p>English help</p>");
        SetUrlOpener([this](const std::string& address) {
            opened.push_back(address);
            return true;
        });
    }
    void TearDown() override {
        frmHelp::DestroyShared();
        SetUrlOpener({});
    }

    InfoTestFolder folder;
    ScopedScriptedPrompter prompter;
    std::vector<std::string> opened;
};

TEST_F(HelpMenuTest, UitlegTwiceGivesOneWindowThatLooksForThePageAgain) {
    HelpMenu::ShowHelp();
    frmHelp* first = &frmHelp::Shared();
    EXPECT_EQ(first->browser()->source(), QUrl::fromLocalFile(folder.File("html/HelpNL.htm")));

    // The second command looks for the page afresh.
    ASSERT_TRUE(QFile::remove(folder.File("html/HelpNL.htm")));
    HelpMenu::ShowHelp();

    EXPECT_EQ(&frmHelp::Shared(), first);
    EXPECT_EQ(HelpWindowCount(), 1);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->browser()->source(), QUrl::fromLocalFile(folder.File("html/HelpENG.htm")));
}

TEST_F(HelpMenuTest, UitlegShowsTheHelpWindowAgainAfterTheUserClosedIt) {
    HelpMenu::ShowHelp();
    frmHelp* first = &frmHelp::Shared();
    first->close();
    ASSERT_FALSE(first->isVisible());

    HelpMenu::ShowHelp();
    EXPECT_EQ(&frmHelp::Shared(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(HelpWindowCount(), 1);
}

struct PlacementRow {
    const char* where;
    QRect main;
    /// -1 left of the main window, 1 right of it, 0 over it.
    int side;
};

TEST_F(HelpMenuTest, UitlegOpensBesideOrOverTheMainWindowAndEscapeClosesIt) {
    QWidget main;
    const QRect screen = main.screen()->availableGeometry();
    const PlacementRow rows[] = {
        {"room on the right", {screen.left() + 10, screen.top() + 40, 200, 150}, 1},
        {"room on the left only", {screen.right() - 210, screen.top() + 40, 200, 150}, -1},
        {"room on neither side", {screen.left(), screen.top(), screen.width(), 150}, 0},
    };
    for (const PlacementRow& row : rows) {
        SCOPED_TRACE(row.where);
        main.setGeometry(row.main);
        main.show();
        frmHelp::Shared().resize(300, 200);
        HelpMenu::ShowHelp(&main);
        frmHelp& help = frmHelp::Shared();
        const QRect shown = help.frameGeometry();
        const QRect beside = main.frameGeometry();
        EXPECT_TRUE(screen.contains(shown));
        if (row.side > 0) {
            EXPECT_EQ(shown.left(), beside.right() + 1);
        } else if (row.side < 0) {
            EXPECT_EQ(shown.right() + 1, beside.left());
        } else {
            EXPECT_TRUE(shown.intersects(beside));
        }

        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&help, &escape);
        EXPECT_FALSE(help.isVisible());
    }
}

TEST_F(HelpMenuTest, WebsiteCommandNamesTheAddressThenOpensIt) {
    const std::string address = HelpMenu::WebsiteAddress;

    EXPECT_TRUE(HelpMenu::ShowWebsite());

    ASSERT_EQ(prompter->messages.size(), 1u);
    const ScriptedPrompter::Shown& shown = prompter->messages[0];
    EXPECT_EQ(shown.text, "Op internet staat hulp en meer informatie.\r\n"
                          "De computer probeert naar de volgende website gaan:\r\n" +
                              address + "\r\n");
    EXPECT_EQ(shown.title, "Tavelon Simulator");
    EXPECT_EQ(shown.buttons, Prompter::Buttons::Ok);
    EXPECT_EQ(shown.icon, Prompter::Icon::Information);
    EXPECT_EQ(opened, std::vector<std::string>{address});
    EXPECT_EQ(address, "https://github.com/tavsim/tavsim#readme");
}

TEST_F(HelpMenuTest, InfoShowsTheAboutWindowModallyUntilOk) {
    QString caption;
    bool clicked = false;
    QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
        if (about == nullptr) {
            return;
        }
        caption = about->windowTitle();
        about->btnOK()->click();
        clicked = true;
    });
    // A window left open would make ShowInfo wait forever; close any that is still there.
    QTimer guard;
    guard.setInterval(2000);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
        }
    });
    guard.start();

    HelpMenu::ShowInfo(nullptr);

    EXPECT_TRUE(clicked);
    EXPECT_EQ(caption, "Over Tavelon Simulator versie 2");
}

} // namespace
