#include "app/info/HelpMenu.h"

#include "app/info/OpenURL.h"
#include "app/info/frmAbout.h"
#include "app/info/frmHelp.h"
#include "platform/ui/ScriptedPrompter.h"
#include "tests/info/InfoTestFolder.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
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
