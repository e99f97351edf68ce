#include "app/info/frmHelp.h"
#include "platform/ui/ScriptedPrompter.h"
#include "tests/info/InfoTestFolder.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

const QByteArray kDutchPage = "<html><body><p>Nederlandse hulp</p></body></html>";
const QByteArray kEnglishPage = "<html><body><p>English help</p></body></html>";

// The browser hands pictures out in whichever form it keeps them.
QSize PictureSize(const QVariant& picture) {
    switch (picture.userType()) {
    case QMetaType::QPixmap:
        return picture.value<QPixmap>().size();
    case QMetaType::QImage:
        return picture.value<QImage>().size();
    default:
        return QImage::fromData(picture.toByteArray()).size();
    }
}

class HelpWindowTest : public ::testing::Test {
protected:
    void TearDown() override { frmHelp::SetBrowserFactory({}); }

    InfoTestFolder folder;
};

struct PageCase {
    const char* name;
    bool dutch;         // html/HelpNL.htm is written
    bool dutchIsFolder; // html/HelpNL.htm is a folder instead
    bool english;       // html/HelpENG.htm is written
    const char* language;
    const char* shown; // file the browser shows; nullptr when no page can be read
    const char* text;  // text the browser then shows
};

const PageCase kPageCases[] = {
    {"DutchPagePresent", true, false, true, "NL", "html/HelpNL.htm", "Nederlandse hulp"},
    {"DutchPageMissing", false, false, true, "NL", "html/HelpENG.htm", "English help"},
    {"DutchPageIsAFolder", false, true, true, "NL", "html/HelpENG.htm", "English help"},
    {"EnglishAskedFor", true, false, true, "ENG", "html/HelpENG.htm", "English help"},
    {"UnknownLanguage", true, false, true, "FR", "html/HelpENG.htm", "English help"},
    {"EmptyLanguage", true, false, true, "", "html/HelpENG.htm", "English help"},
    {"NoPageAtAll", false, false, false, "NL", nullptr, "html/HelpENG.htm kan niet"},
};

class HelpPageTest : public ::testing::TestWithParam<PageCase> {};

TEST_P(HelpPageTest, ShowsTheLanguagePageOrFallsBackToEnglish) {
    const PageCase& c = GetParam();
    InfoTestFolder folder;
    if (c.dutch) {
        folder.Write("html/HelpNL.htm", kDutchPage);
    }
    if (c.dutchIsFolder) {
        ASSERT_TRUE(QDir(folder.Path()).mkpath("html/HelpNL.htm"));
    }
    if (c.english) {
        folder.Write("html/HelpENG.htm", kEnglishPage);
    }

    frmHelp help;
    help.Constructor(c.language);

    ASSERT_NE(help.browser(), nullptr);
    if (c.shown != nullptr) {
        EXPECT_EQ(help.browser()->source(), QUrl::fromLocalFile(folder.File(c.shown)));
    } else {
        EXPECT_TRUE(help.browser()->source().isEmpty());
    }
    EXPECT_TRUE(help.browser()->toPlainText().contains(c.text))
        << help.browser()->toPlainText().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Pages, HelpPageTest, ::testing::ValuesIn(kPageCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HelpWindowTest, CaptionAndLoadingLabelUnderTheBrowser) {
    frmHelp help;
    help.show();
    EXPECT_EQ(help.windowTitle(), "Hulp");
    EXPECT_EQ(help.labLoading()->text(), "Loading...");
    ASSERT_NE(help.browser(), nullptr);
    EXPECT_EQ(help.browser()->objectName(), "browser");
    // The browser lies above the label, so that the label is covered once it is there.
    QWidget* top = help.childAt(help.labLoading()->geometry().center());
    ASSERT_NE(top, nullptr);
    EXPECT_TRUE(top == help.browser() || help.browser()->isAncestorOf(top));
}

TEST_F(HelpWindowTest, BrowserFillsTheWindowAfterEveryResize) {
    frmHelp help;
    help.show();
    const QSize sizes[] = {{640, 720}, {300, 200}, {1000, 400}, {1, 1}};
    for (const QSize& size : sizes) {
        help.resize(size);
        EXPECT_EQ(help.browser()->geometry(), QRect(QPoint(0, 0), help.size()))
            << size.width() << " x " << size.height();
    }
}

TEST_F(HelpWindowTest, PicturesOfThePageAreFoundBesideTheHtmlFolder) {
    folder.WritePicture("images2/Bord.bmp", 24, 16);
    folder.Write("html/HelpNL.htm", "<html><body><p><img src=\"../images2/Bord.bmp\"></p>"
                                    "</body></html>");
    frmHelp help;
    help.Constructor("NL");

    const QVariant picture = help.browser()->document()->resource(QTextDocument::ImageResource,
                                                                  QUrl("../images2/Bord.bmp"));
    EXPECT_EQ(PictureSize(picture), QSize(24, 16));
}

/// The background colours (0xRRGGBB) of the table cells of the page shown, in order.
std::vector<std::uint32_t> CellColours(const frmHelp& help) {
    std::vector<std::uint32_t> colours;
    for (QTextFrame* frame : help.browser()->document()->rootFrame()->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(frame)) {
            for (int row = 0; row < table->rows(); ++row) {
                for (int column = 0; column < table->columns(); ++column) {
                    const QTextTableCellFormat f =
                        table->cellAt(row, column).format().toTableCellFormat();
                    if (f.background().style() != Qt::NoBrush) {
                        colours.push_back(f.background().color().rgb() & 0xFFFFFFU);
                        // The blank in the cell shows the same colour.
                        QTextCursor text = table->cellAt(row, column).firstCursorPosition();
                        text.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
                        const QBrush blank = text.charFormat().background();
                        EXPECT_TRUE(blank.style() == Qt::NoBrush ||
                                    blank.color().rgb() == f.background().color().rgb())
                            << "row " << row;
                    }
                }
            }
        }
    }
    return colours;
}

std::vector<std::uint32_t> VoltageColours(WirePalette palette) {
    std::vector<std::uint32_t> colours;
    for (int i = 1; i <= 8; ++i) {
        colours.push_back(WireColour(palette, i));
    }
    return colours;
}

TEST_F(HelpWindowTest, TheColourLegendShowsTheWireColoursTheUserChose) {
    for (const char* language : {"NL", "ENG"}) {
        SCOPED_TRACE(language);
        const QString page = QString("html/Help") + language + ".htm";
        QFile real(QString(TAVSIM_HELP_DIR) + "/Help" + language + ".htm");
        ASSERT_TRUE(real.open(QIODevice::ReadOnly));
        folder.Write(page, real.readAll());

        frmHelp& help = frmHelp::Shared();
        help.Constructor(language);
        // The page's legend holds the eight voltage colours, 5 V first.
        EXPECT_EQ(CellColours(help), VoltageColours(WirePalette::Normal));
        frmHelp::ShowWirePalette(WirePalette::ColourBlind);
        EXPECT_EQ(CellColours(help), VoltageColours(WirePalette::ColourBlind));
        // A page shown afresh follows the choice too.
        help.Constructor(language);
        EXPECT_EQ(CellColours(help), VoltageColours(WirePalette::ColourBlind));
        frmHelp::ShowWirePalette(WirePalette::Normal);
        EXPECT_EQ(CellColours(help), VoltageColours(WirePalette::Normal));
        frmHelp::DestroyShared();
    }
}

TEST_F(HelpWindowTest, ABrowserThatCannotBeMadeIsReportedAndLeavesTheWindowUsable) {
    ScopedScriptedPrompter prompter;
    frmHelp::SetBrowserFactory([](QWidget*) { return nullptr; });
    folder.Write("html/HelpENG.htm", kEnglishPage);

    frmHelp help;
    help.show();
    help.Constructor("NL");
    help.resize(320, 240);

    EXPECT_EQ(help.browser(), nullptr);
    ASSERT_EQ(prompter->messages.size(), 1u);
    EXPECT_EQ(prompter->messages[0].text, "Kan webbrowser niet opstarten..");
    EXPECT_EQ(prompter->messages[0].title, "Foutmelding");
    EXPECT_EQ(prompter->messages[0].buttons, Prompter::Buttons::Ok);
    EXPECT_TRUE(help.labLoading()->isVisible());
}

} // namespace
