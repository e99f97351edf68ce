#include "app/cli/CliMain.h"

#include "app/cli/CheckBoard.h"
#include "app/cli/CheckJson.h"
#include "app/cli/CliOptions.h"
#include "app/cli/GradeCommand.h"
#include "app/cli/HeadlessBoard.h"
#include "app/cli/TraceRun.h"
#include "platform/files/DurableFile.h"
#include "platform/files/DurableFileError.h"
#include "platform/ui/SoundPlayer.h"

#include <QApplication>
#include <QBuffer>
#include <QImageWriter>
#include <algorithm>
#include <cstdio>
#include <exception>
#include <iostream>
#include <optional>

#ifndef TAVSIM_VERSION
#define TAVSIM_VERSION "onbekend"
#endif

namespace {

/// Qt's own notes (about the offscreen platform and the like) would only clutter what a
/// teacher reads; real failures still come through.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "tavsim: %s\n", message.toLocal8Bit().constData());
    }
}

/// Writes `image` as a PNG at `path`, replacing only a regular file, and that only once the
/// whole picture is on the disk. Returns the Dutch reason of a failure, else "".
std::string SavePng(const QImage& image, const std::string& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!QImageWriter(&buffer, "png").write(image)) {
        return "het plaatje kan niet als PNG worden gemaakt";
    }
    try {
        DurableFile::Write(path, std::string_view(bytes.constData(), bytes.size()));
    } catch (const DurableFileError& e) {
        return e.Reason();
    }
    return {};
}

/// --check: every board on the model alone, one JSON line each; with --trace, its one board's
/// steps recorded.
int Check(const CliOptions& options, std::ostream& out, std::ostream& err) {
    CheckBoard board;
    int status = CliMain::kAllRead;
    for (const std::string& file : options.files) {
        const std::string error = board.Open(file);
        if (!error.empty()) {
            out << CheckJson::ErrorLine(file, error) << '\n' << std::flush;
            status = CliMain::kNotRead;
            continue;
        }
        board.Act(options.actions);
        if (options.trace.empty()) {
            board.Run(options.ticks);
        } else if (const std::string failure = TraceRun::Run(board, options); !failure.empty()) {
            err << "tavsim: Het spoor kan niet worden bewaard in " << options.trace << ": "
                << failure << "\n";
            status = CliMain::kNotRead;
        }
        out << CheckJson::Line(file, board.Result()) << '\n' << std::flush;
    }
    return status;
}

/// --render: the board drawn by the window's own components, hidden.
int Render(const CliOptions& options, std::ostream& err) {
    HeadlessBoard board;
    try {
        board.Start();
    } catch (const std::exception& error) {
        err << "tavsim: " << FORM1::StartFailureText(error) << "\n";
        return CliMain::kNotRead;
    }
    // ---- measuring: the wire colours for colour blindness ----
    if (options.colourBlind) {
        try {
            board.Form().SetWirePalette(WirePalette::ColourBlind);
        } catch (const std::exception& error) {
            err << "tavsim: " << FORM1::StartFailureText(error) << "\n";
            return CliMain::kNotRead;
        }
    }

    const std::string& file = options.files[0];
    const std::string& picture = options.files[1];
    if (const std::string error = board.Open(file); !error.empty()) {
        err << "tavsim: " << error << "\n";
        return CliMain::kNotRead;
    }
    board.Act(options.actions);
    board.Run(options.ticks);
    const QImage image = board.Render(options.scale);
    const std::string failure = image.isNull()
                                    ? std::string("zo groot kan het bord niet getekend worden")
                                    : SavePng(image, picture);
    if (!failure.empty()) {
        err << "tavsim: Het plaatje kan niet worden bewaard in " << picture << ": " << failure
            << "\n";
        return CliMain::kNotRead;
    }
    return CliMain::kAllRead;
}

} // namespace

bool CliMain::IsCommand(int argc, const char* const* argv) {
    return argc > 1 && argv[1] != nullptr && CliOptions::IsCommand(argv[1]);
}

int CliMain::Execute(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CliOptions options;
    try {
        options = CliOptions::Parse(args);
    } catch (const CliUsageError& error) {
        err << "tavsim: " << error.what() << "\n" << CliOptions::Usage();
        return kWrongArguments;
    }
    switch (options.command) {
    case CliOptions::Command::Help:
        out << CliOptions::Help();
        return kAllRead;
    case CliOptions::Command::Version:
        out << "tavsim " << TAVSIM_VERSION << "\n";
        return kAllRead;
    case CliOptions::Command::Check:
        return Check(options, out, err);
    case CliOptions::Command::Grade:
        return GradeCommand::Run(options, out, err);
    default:
        return Render(options, err);
    }
}

int CliMain::Run(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    // No display, no window system, one board pixel per image pixel.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("QT_SCALE_FACTOR");
    qunsetenv("QT_SCREEN_SCALE_FACTORS");
    qunsetenv("QT_ENABLE_HIGHDPI_SCALING");
    // The sound sensor hears nothing: only a silent stand-in input, never a real device.
    qputenv("TAVSIM_WAVE_INPUTS", "Stil=silence");
    qInstallMessageHandler(QuietQtMessages);
    // Qt must not take our arguments for its own. --check, and --grade without a class page,
    // need no part of Qt's application at all: they run on the board model alone.
    int appArgc = 1;
    const bool modelOnly =
        !args.empty() && (args.front() == "--check" ||
                          (args.front() == "--grade" &&
                           std::find(args.begin(), args.end(), "--html") == args.end()));
    std::optional<QApplication> app;
    if (!modelOnly) {
        app.emplace(appArgc, argv);
        QApplication::setApplicationName("Tavelon");
    }
    const int status = Execute(args, std::cout, std::cerr);
    SoundPlayer::Shutdown();
    return status;
}
