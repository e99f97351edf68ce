#include "platform/shell/Shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

bool Shell::OpenAddress(const std::string& address) {
    const QUrl url = QUrl::fromUserInput(QString::fromStdString(address));
    return url.isValid() && QDesktopServices::openUrl(url);
}

bool Shell::RunCommand(const std::string& commandLine) {
    QStringList parts = QProcess::splitCommand(QString::fromStdString(commandLine));
    if (parts.isEmpty()) {
        return false;
    }
    const QString program = parts.takeFirst();
    return QProcess::startDetached(program, parts);
}
