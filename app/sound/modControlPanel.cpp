#include "app/sound/modControlPanel.h"

#include "platform/shell/Shell.h"

#include <QProcess>
#include <QStandardPaths>

const QStringList& modControlPanel::SoundSettingsPrograms() {
    static const QStringList programs = {
        QStringLiteral("pavucontrol"),
        QStringLiteral("pavucontrol-qt"),
        QStringLiteral("gnome-control-center sound"),
        QStringLiteral("systemsettings kcm_pulseaudio"),
        QStringLiteral("mate-volume-control"),
        QStringLiteral("cinnamon-settings sound"),
    };
    return programs;
}

std::string modControlPanel::SoundSettingsCommand(const QStringList& searchPaths) {
    for (const QString& command : SoundSettingsPrograms()) {
        const QString program = QProcess::splitCommand(command).value(0);
        if (!QStandardPaths::findExecutable(program, searchPaths).isEmpty()) {
            return command.toStdString();
        }
    }
    return {};
}

void modControlPanel::RunControlPanel(const std::string& command) {
    if (!command.empty()) {
        Shell::RunCommand(command);
    }
}
