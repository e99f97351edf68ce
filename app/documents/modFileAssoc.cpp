#include "app/documents/modFileAssoc.h"

#include "platform/registry/Registry.h"
#include "platform/registry/RegistryBatch.h"
#include "platform/ui/ProgramFolder.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QtGlobal>

namespace {

constexpr int kIconSize = 48;

QString ToQ(const std::string& text) {
    return QString::fromStdString(text);
}

// `path` as one argument of a desktop entry's Exec key: quoted when it holds a reserved
// character, percent signs doubled, then escaped as a string value, so that no path can add
// arguments, field codes or lines of its own.
QString ExecArgument(const QString& path) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString argument;
    bool quote = false;
    for (const QChar c : path) {
        if (reserved.contains(c)) {
            quote = true;
        }
    }
    for (const QChar c : path) {
        if (c == u'%') {
            argument += QStringLiteral("%%");
        } else if (quote && (c == u'"' || c == u'`' || c == u'$' || c == u'\\')) {
            argument += u'\\';
            argument += c;
        } else {
            argument += c;
        }
    }
    if (quote) {
        argument = u'"' + argument + u'"';
    }
    QString escaped;
    for (const QChar c : argument) {
        if (c == u'\\') {
            escaped += QStringLiteral("\\\\");
        } else if (c == u'\n') {
            escaped += QStringLiteral("\\n");
        } else if (c == u'\t') {
            escaped += QStringLiteral("\\t");
        } else if (c == u'\r') {
            escaped += QStringLiteral("\\r");
        } else {
            escaped += c;
        }
    }
    return escaped;
}

QByteArray MimePackage() {
    return QByteArrayLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
        "  <mime-type type=\"application/x-tavelon\">\n"
        "    <comment>Tavelon bord</comment>\n"
        "    <glob pattern=\"*.tvb\"/>\n"
        "  </mime-type>\n"
        "</mime-info>\n");
}

QByteArray DesktopEntry(const QString& programPath) {
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Tavelon Simulator\n"
                                        "Exec=%1 %f\n"
                                        "MimeType=application/x-tavelon;\n"
                                        "Icon=application-x-tavelon\n"
                                        "Terminal=false\n"
                                        "Categories=Education;Science;\n")
                             .arg(ExecArgument(programPath));
    return text.toUtf8();
}

// The document icon as a 48 by 48 PNG: the icon's image of that size, or the nearest larger
// (else the largest) one scaled. Empty when the icon file is missing; `failure` is set when it
// is there but cannot be read.
QByteArray IconPng(const QString& iconPath, QString& failure) {
    if (!QFileInfo::exists(iconPath)) {
        return {};
    }
    QImageReader reader(iconPath);
    QImage best;
    const int count = qMax(1, reader.imageCount());
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToImage(i)) {
            break;
        }
        const QImage image = reader.read();
        if (image.isNull()) {
            continue;
        }
        // Exactly 48 pixels, else the smallest larger image, else the largest smaller one.
        const int size = image.width();
        const int bestSize = best.isNull() ? 0 : best.width();
        const bool closer =
            bestSize == 0 || (size >= kIconSize ? bestSize < kIconSize || size < bestSize
                                                : bestSize < kIconSize && size > bestSize);
        if (closer) {
            best = image;
        }
    }
    if (best.isNull()) {
        failure = QStringLiteral("cannot read the document icon \"%1\": %2")
                      .arg(iconPath, reader.errorString());
        return {};
    }
    if (best.size() != QSize(kIconSize, kIconSize)) {
        best = best.scaled(kIconSize, kIconSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!best.convertToFormat(QImage::Format_ARGB32).save(&buffer, "PNG")) {
        failure = QStringLiteral("cannot convert the document icon \"%1\" to PNG").arg(iconPath);
        return {};
    }
    return png;
}

// Writes `content` to `path` when the file does not already hold exactly that. True when it
// wrote; a failure is added to `failures`.
bool WriteIfChanged(const QString& path, const QByteArray& content,
                    std::vector<std::string>& failures) {
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == content) {
        return false;
    }
    existing.close();
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        failures.push_back("cannot make the folder of \"" + path.toStdString() + "\"");
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() ||
        !file.commit()) {
        failures.push_back("cannot write \"" + path.toStdString() +
                           "\": " + file.errorString().toStdString());
        return false;
    }
    return true;
}

// Starts `tool` on `folder` without waiting for it, when the tool is on PATH.
void StartDetached(const QString& tool, const QString& folder) {
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty() || !QFileInfo(folder).isDir()) {
        return;
    }
    QProcess process;
    process.setProgram(program);
    process.setArguments({folder});
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    if (!process.startDetached()) {
        qWarning("tavsim: cannot start %s", qUtf8Printable(program));
    }
}

// The folder of the data files of the program started by `programPath`, which may be the
// launcher link of an installed program.
QString DataFolder(const QString& programPath) {
    const QFileInfo program(programPath);
    const QString canonical = program.canonicalFilePath();
    const QString folder =
        canonical.isEmpty() ? program.absolutePath() : QFileInfo(canonical).absolutePath();
    return ToQ(ProgramFolder::DataFolderFor(folder.toStdString()));
}

} // namespace

void modFileAssoc::RegisterDocumentType(const std::string& programPath) {
    if (!RegisterClassesRoot(programPath)) {
        qWarning("tavsim: the document type could not be registered in \"%s\"",
                 Registry::Instance().FilePath().c_str());
    }
    // Installed with its desktop entry, the program is known to every user's desktop already;
    // a copy of the user's own would hide that entry and outlive the program.
    if (HasSystemDesktopEntry(programPath)) {
        return;
    }
    const std::string dataHome = XdgDataHome();
    if (dataHome.empty()) {
        static bool told = false;
        if (!told) {
            told = true;
            qWarning("tavsim: geen bruikbare thuismap (HOME is niet gezet, leeg of geen absoluut "
                     "pad, en XDG_DATA_HOME is geen absoluut pad): het bordtype wordt niet bij "
                     "het bureaublad aangemeld");
        }
        return;
    }
    const DesktopFiles written = WriteDesktopFiles(programPath, dataHome);
    for (const std::string& failure : written.failures) {
        qWarning("tavsim: %s", failure.c_str());
    }
    const QDir data(ToQ(dataHome));
    if (written.mimeWritten) {
        StartDetached(QStringLiteral("update-mime-database"), data.filePath("mime"));
    }
    if (written.desktopWritten) {
        StartDetached(QStringLiteral("update-desktop-database"), data.filePath("applications"));
    }
}

bool modFileAssoc::RegisterClassesRoot(const std::string& programPath) {
    const std::string folder = DataFolder(ToQ(programPath)).toStdString();
    const std::string progId = kProgId;
    Registry& registry = Registry::Instance();
    RegistryBatch batch(registry);
    constexpr RegistryRoot root = RegistryRoot::ClassesRoot;
    bool ok = registry.SetString(root, kExtension, "", progId).ok();
    ok = registry.SetString(root, progId, "", kDescription).ok() && ok;
    ok = registry.SetString(root, progId + "\\shell\\open\\command", "", programPath + " \"%1\"")
             .ok() &&
         ok;
    ok = registry.SetString(root, progId + "\\DefaultIcon", "", folder + "/images1/doc.ico,0")
             .ok() &&
         ok;
    return batch.Commit().ok() && ok;
}

modFileAssoc::DesktopFiles modFileAssoc::WriteDesktopFiles(const std::string& programPath,
                                                           const std::string& dataHome) {
    DesktopFiles result;
    const QDir data(ToQ(dataHome));
    const QString program = ToQ(programPath);
    result.mimeWritten =
        WriteIfChanged(data.filePath("mime/packages/tavsim.xml"), MimePackage(), result.failures);
    result.desktopWritten = WriteIfChanged(data.filePath("applications/tavsim.desktop"),
                                           DesktopEntry(program), result.failures);
    QString failure;
    const QByteArray png = IconPng(QDir(DataFolder(program)).filePath("images1/doc.ico"), failure);
    if (!failure.isEmpty()) {
        result.failures.push_back(failure.toStdString());
    }
    if (!png.isEmpty()) {
        result.iconWritten =
            WriteIfChanged(data.filePath("icons/hicolor/48x48/mimetypes/application-x-tavelon.png"),
                           png, result.failures);
    }
    return result;
}

bool modFileAssoc::HasSystemDesktopEntry(const std::string& programPath) {
    const QString data = DataFolder(ToQ(programPath));
    return QFileInfo(data + "/../applications/tavsim.desktop").isFile() &&
           QFileInfo(data + "/../mime/packages/tavsim.xml").isFile();
}

std::string modFileAssoc::XdgDataHome() {
    const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg)) {
        return xdg.toStdString();
    }
    // Not QDir::homePath(): without HOME that is the root folder.
    const QString home = qEnvironmentVariable("HOME");
    if (home.isEmpty() || !QDir::isAbsolutePath(home)) {
        return {};
    }
    return QDir(home).filePath(".local/share").toStdString();
}
