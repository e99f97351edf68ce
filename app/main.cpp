// tavsim: the board simulator's program.

#include "app/board/FORM1.h"
#include "app/cli/CliMain.h"
#include "app/documents/DocumentPaths.h"
#include "app/grading/AssignmentPanel.h"
#include "platform/ui/DutchQtTerms.h"
#include "platform/ui/SoundPlayer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
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

/// Makes Qt's own dialogs and message-box buttons speak Dutch, as the rest of the program
/// does, whatever the user's language. Without Qt's translations they stay English.
void SpeakDutch(QApplication& app, QTranslator& translator, DutchQtTerms& terms) {
    const QLocale dutch(QLocale::Dutch, QLocale::Netherlands);
    QLocale::setDefault(dutch);
    if (translator.load(dutch, "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        app.installTranslator(&translator);
    }
    // Asked before Qt's translations, for the words those leave English.
    app.installTranslator(&terms);
}

} // namespace

int main(int argc, char** argv) {
    // tavsim --check, --render, --help, --version: no window.
    if (CliMain::IsCommand(argc, argv)) {
        return CliMain::Run(argc, argv);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tavelon");
    QTranslator qtDutch;
    DutchQtTerms dutchTerms;
    SpeakDutch(app, qtDutch, dutchTerms);
    // What is left after Qt took its own options: the document to open, whose path may have
    // been split at its blanks.
    const std::string commandLine = DocumentPaths::JoinArguments(argc, argv);

    int result = 1;
    {
        FORM1 form;
        // Owned by the window; it adds its own menu items.
        new AssignmentPanel(form);
        if (form.Form_Load(commandLine)) {
            result = QApplication::exec();
        }
    }
    SoundPlayer::Shutdown();
    SettleEvents(100);
    return result;
}
