#pragma once
// Starting the desktop's sound settings.

#include <QStringList>
#include <string>

class modControlPanel {
public:
    /// Programs that show the sound settings, in the order they are tried: the PulseAudio
    /// volume control, then the sound panels of the common desktops. Each is a command line.
    static const QStringList& SoundSettingsPrograms();
    /// The command line of the first of SoundSettingsPrograms() whose program is found in
    /// `searchPaths` (the folders of PATH when empty); "" when none is.
    static std::string SoundSettingsCommand(const QStringList& searchPaths = {});
    /// Runs `command` as a new process with its own window, detached from this one. Any
    /// failure is ignored: nothing is shown and nothing is returned.
    static void RunControlPanel(const std::string& command);
};
