#pragma once
// A temporary program folder for the information windows, removed at the end of a test.

#include <QString>
#include <QTemporaryDir>

class InfoTestFolder {
public:
    /// Makes the folder with its "html" and "images2" subfolders and points the windows at
    /// it; the destructor points them back at the program's own folder.
    InfoTestFolder();
    ~InfoTestFolder();
    InfoTestFolder(const InfoTestFolder&) = delete;
    InfoTestFolder& operator=(const InfoTestFolder&) = delete;

    QString Path() const { return dir_.path(); }
    /// Full path of `relative` inside the folder.
    QString File(const QString& relative) const { return dir_.filePath(relative); }
    /// Writes `text` to `relative`; fails the test when it cannot.
    void Write(const QString& relative, const QByteArray& text) const;
    /// Writes a `width` × `height` BMP picture of one colour to `relative`.
    void WritePicture(const QString& relative, int width, int height) const;

private:
    QTemporaryDir dir_;
};
