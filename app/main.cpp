// tavsim: the board simulator's program.

#include "app/board/FORM1.h"
#include "app/cli/CliMain.h"
#include "app/documents/DocumentPaths.h"
#include "platform/ui/SoundPlayer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <string>

namespace {

/// Lets the event loop run for a while, so that sound streams stopped just before can wind
/// down before the process ends.
void SettleEvents(int milliseconds) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

} // namespace

int main(int argc, char** argv) {
    // tavsim --check, --render, --help, --version: no window.
    if (CliMain::IsCommand(argc, argv)) {
        return CliMain::Run(argc, argv);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tavelon");
    // What is left after Qt took its own options: the document to open, whose path may have
    // been split at its blanks.
    const std::string commandLine = DocumentPaths::JoinArguments(argc, argv);

    int result = 1;
    {
        FORM1 form;
        if (form.Form_Load(commandLine)) {
            result = QApplication::exec();
        }
    }
    SoundPlayer::Shutdown();
    SettleEvents(100);
    return result;
}
