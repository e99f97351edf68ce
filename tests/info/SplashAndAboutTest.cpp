#include "app/info/frmAbout.h"
#include "app/info/frmSplash.h"
#include "tests/info/InfoTestFolder.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <gtest/gtest.h>

namespace {

class SplashAndAboutTest : public ::testing::Test {
protected:
    InfoTestFolder folder;
};

TEST_F(SplashAndAboutTest, SplashShowsItsPictureFramelessInTheMiddleOfTheScreen) {
    folder.WritePicture("images2/splash.bmp", 120, 80);
    frmSplash splash;
    splash.show();

    EXPECT_EQ(splash.windowTitle(), "Tavelon2 Splash");
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(splash.picSplash()->pixmap().size(), QSize(120, 80));
    ASSERT_NE(splash.screen(), nullptr);
    const QPoint offset =
        splash.frameGeometry().center() - splash.screen()->availableGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 1);
}

TEST_F(SplashAndAboutTest, MissingPicturesLeaveThePictureBoxesEmpty) {
    frmSplash splash;
    frmAbout about;
    splash.show();
    about.show();
    EXPECT_TRUE(splash.picSplash()->pixmap().isNull());
    EXPECT_TRUE(about.picSplash()->pixmap().isNull());
}

TEST_F(SplashAndAboutTest, AboutShowsItsPictureAndOkClosesIt) {
    folder.WritePicture("images2/about.bmp", 200, 150);
    frmAbout about;
    about.show();

    EXPECT_EQ(about.windowTitle(), "Over Tavelon Simulator versie 2");
    EXPECT_TRUE(about.isModal());
    EXPECT_EQ(about.picSplash()->pixmap().size(), QSize(200, 150));
    EXPECT_EQ(about.btnOK()->text(), "OK");

    about.btnOK()->click();
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

} // namespace
