#include "tests/info/InfoTestFolder.h"

#include "platform/ui/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

InfoTestFolder::InfoTestFolder() {
    EXPECT_TRUE(dir_.isValid());
    QDir(dir_.path()).mkpath("html");
    QDir(dir_.path()).mkpath("images2");
    ProgramFolder::SetPath(dir_.path().toStdString());
}

InfoTestFolder::~InfoTestFolder() {
    ProgramFolder::SetPath("");
}

void InfoTestFolder::Write(const QString& relative, const QByteArray& text) const {
    QFile file(File(relative));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << relative.toStdString();
    ASSERT_EQ(file.write(text), text.size());
}

void InfoTestFolder::WritePicture(const QString& relative, int width, int height) const {
    QImage picture(width, height, QImage::Format_RGB888);
    picture.fill(Qt::darkGreen);
    ASSERT_TRUE(picture.save(File(relative), "BMP")) << relative.toStdString();
}
