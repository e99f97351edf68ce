// The soak run: the real main window, offscreen, for a given time with its own 10 ms timer,
// while a user keeps working on it: the pointer circles the board with a pending wire
// following it, the wire is finished, undone, redone and undone again, push buttons are
// pressed and their presses undone, the pulse generator blinks a LED, the counter and the
// buzzer at 10 Hz, and the sound sensor listens to a virtual input. Every report interval it
// prints the sprites, groups and bitmaps on the canvas (the most seen in the interval), the
// undo history's size and the resident memory. It fails when, after the warm-up (the first
// minute, or a third of a shorter run), any count exceeds what the warm-up reached or the
// memory grows by more than a small allowance, when a message box appeared, or when the
// start-up failed.
//
//   bench_soak SECONDS [--report SECONDS] [--picture PNG]
//
// --picture saves the board as it is halfway through drawing the first pending wire.

#include "app/board/FORM1.h"
#include "app/documents/UndoHistory.h"
#include "app/simulation/clsSnaps.h"
#include "platform/ui/PointerSource.h"
#include "platform/ui/Prompter.h"
#include "platform/ui/SoundPlayer.h"
#include "sprite_control/KaleidoATL.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

/// Counts message boxes instead of showing them; the soak's clicks should cause none.
class CountingPrompter : public Prompter {
public:
    Answer Message(const std::string& text, const std::string& title, Buttons, Icon) override {
        if (++count <= 5) {
            std::fprintf(stderr, "soak: message \"%s\": %s\n", title.c_str(), text.c_str());
        }
        return Answer::Ok;
    }
    std::optional<std::string> OpenFileName(const FileRequest&) override { return std::nullopt; }
    std::optional<std::string> SaveFileName(const FileRequest&) override { return std::nullopt; }
    int count = 0;
};

/// The buzzer at 10 Hz asks to start and stop its sound ten times a second; a recording
/// player would grow with that, a real one needs a sound server.
class SilentSoundPlayer : public SoundPlayer {
public:
    bool PlayLooping(const std::string&) override { return true; }
    void Stop() override {}
};

double ResidentMegabytes() {
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    long pages = 0;
    long resident = 0;
    if (f != nullptr) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(f);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1048576.0;
}

struct Counts {
    std::size_t sprites = 0;
    std::size_t groups = 0;
    std::size_t bitmaps = 0;
    std::int32_t undo = 0;

    void Max(const Counts& o) {
        sprites = std::max(sprites, o.sprites);
        groups = std::max(groups, o.groups);
        bitmaps = std::max(bitmaps, o.bitmaps);
        undo = std::max(undo, o.undo);
    }
    bool Exceeds(const Counts& o) const {
        return sprites > o.sprites || groups > o.groups || bitmaps > o.bitmaps || undo > o.undo;
    }
};

/// Plays the user: pointer events on the canvas at board positions, as a mouse gives them.
class User {
public:
    User(FORM1& form, ManualPointer& pointer) : form_(form), pointer_(pointer) {}

    void MoveTo(double bx, double by) { Send(QEvent::MouseMove, bx, by, Qt::NoButton); }
    /// A left click on the named point of the board.
    void Click(const std::string& name) {
        clsSnaps& snaps = form_.Snaps();
        const double bx = snaps.GetXbyName(name) + 0.5;
        const double by = snaps.GetYbyName(name) + 0.5;
        Send(QEvent::MouseMove, bx, by, Qt::NoButton);
        Send(QEvent::MouseButtonPress, bx, by, Qt::LeftButton);
        Send(QEvent::MouseButtonRelease, bx, by, Qt::LeftButton);
    }

private:
    void Send(QEvent::Type type, double bx, double by, Qt::MouseButton button) {
        KaleidoATL* canvas = form_.Kaleido1();
        const QPointF local = canvas->WidgetPointFromBoard(QPointF(bx, by));
        const QPointF global = canvas->mapToGlobal(local);
        pointer_.position = global.toPoint();
        pointer_.widgetUnder = canvas;
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::MouseButtons();
        QMouseEvent event(type, local, global, button, held, Qt::NoModifier);
        QApplication::sendEvent(canvas, &event);
    }

    FORM1& form_;
    ManualPointer& pointer_;
};

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    int seconds = 0;
    int reportEvery = 10;
    QString picture;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--report") == 0 && i + 1 < argc) {
            reportEvery = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--picture") == 0 && i + 1 < argc) {
            picture = QString::fromLocal8Bit(argv[++i]);
        } else {
            seconds = std::atoi(argv[i]);
        }
    }
    if (seconds <= 0 || reportEvery <= 0) {
        std::fprintf(stderr, "gebruik: bench_soak SECONDEN [--report SECONDEN] [--picture PNG]\n");
        return 2;
    }
    const int warmup = std::min(60, seconds / 3);

    CountingPrompter prompter;
    Prompter::Install(&prompter);
    ManualPointer pointer;
    PointerSource::Install(&pointer);
    SilentSoundPlayer sound;
    SoundPlayer::Install(&sound);
    FORM1::InstallDocumentTypeRegistrar([](const std::string&) {});
    // The sound sensor hears the program's own ring tone, looped, through a virtual input,
    // unless the caller chose inputs of its own.
    const QString ring = QCoreApplication::applicationDirPath() + "/Ringin.wav";
    setenv("TAVSIM_WAVE_INPUTS", ("Soak=file:" + ring).toLocal8Bit().constData(), 0);

    FORM1 form;
    if (!form.Form_Load()) {
        std::fprintf(stderr, "soak: the main window did not start\n");
        return 1;
    }
    User user(form, pointer);
    KaleidoATL* canvas = form.Kaleido1();
    const QSize board = canvas->BoardSize();

    // Wires that stay: the pulse generator drives LED 1, the counter and the buzzer; the
    // push buttons drive LEDs 2 and 4; the sound sensor drives the comparator.
    const std::pair<const char*, const char*> wires[] = {
        {"Puls Generator Uit Geel", "LED 1 Ingang"},
        {"Puls Generator Uit Geel", "Pulsenteller Tel pulsen (In)"},
        {"Puls Generator Uit Geel", "Zoemer"},
        {"Drukknop 1 Uit Geel", "LED 2 Ingang"},
        {"Drukknop 2 Uit Geel", "LED 4 Ingang"},
        {"Geluids Sensor Uit Geel", "Comparator In"},
    };
    for (const auto& [a, b] : wires) {
        user.Click(a);
        user.Click(b);
    }
    if (form.Lines().size() != std::size(wires)) {
        std::fprintf(stderr, "soak: %zu of %zu wires drawn\n", form.Lines().size(),
                     std::size(wires));
        return 1;
    }
    // A toggle every 0.0505 s: the generator blinks at 9.9 Hz.
    form.SetPulseGeneratorSetting(47);

    const auto countsNow = [&] {
        return Counts{canvas->SpriteCount(), canvas->GroupCount(), canvas->BitmapCount(),
                      form.History().Count()};
    };

    long long ticks = 0; // the window's own simulation ticks
    QObject::connect(form.Timer1(), &QTimer::timeout, [&] { ++ticks; });

    // The user's 2-second round, one step per 10 ms.
    long long step = 0;
    Counts interval = countsNow();
    QTimer userTimer;
    userTimer.setInterval(10);
    QObject::connect(&userTimer, &QTimer::timeout, [&] {
        const int phase = static_cast<int>(step % 200);
        const double angle = static_cast<double>(step) * 2.0 * M_PI / 400.0;
        ++step;
        user.MoveTo(board.width() / 2.0 + 0.3 * board.width() * std::cos(angle),
                    board.height() / 2.0 + 0.3 * board.height() * std::sin(angle));
        switch (phase) {
        case 0:
            user.Click("Sensor 1 Uit Geel"); // a pending wire, following the pointer
            break;
        case 51:
            if (step == 52 && !picture.isEmpty()) {
                canvas->RenderBoard(2.0).save(picture);
            }
            break;
        case 100:
            user.Click("LED 3 Ingang"); // finished and recorded
            break;
        case 120:
        case 160:
            form.mnuUndo_Click();
            break;
        case 140:
            form.mnuRedo_Click();
            break;
        case 170:
            user.Click("Drukknop 2");
            break;
        case 180:
            user.Click("Drukknop 1");
            break;
        case 185:
        case 190:
            form.mnuUndo_Click();
            break;
        default:
            break;
        }
        interval.Max(countsNow());
    });

    struct Row {
        int t;
        long long ticks;
        Counts counts;
        double rss;
    };
    std::vector<Row> rows;
    Counts warm{};
    double warmRss = 0.0;
    bool grew = false;
    int elapsed = 0;
    long long ticksBefore = 0;
    std::printf("%6s %7s %8s %7s %8s %5s %9s\n", "t (s)", "ticks", "sprites", "groups", "bitmaps",
                "undo", "RSS (MB)");
    const auto report = [&] {
        elapsed += reportEvery;
        const Row row{elapsed, ticks - ticksBefore, interval, ResidentMegabytes()};
        ticksBefore = ticks;
        interval = countsNow();
        rows.push_back(row);
        std::string verdict;
        if (row.t <= warmup) {
            warm.Max(row.counts);
            warmRss = std::max(warmRss, row.rss);
        } else {
            const double allowance = std::max(8.0, 0.05 * warmRss);
            if (row.counts.Exceeds(warm)) {
                verdict = "  GROEIT: meer dan in de opwarmtijd";
                grew = true;
            }
            if (row.rss > warmRss + allowance) {
                verdict += "  GROEIT: geheugen";
                grew = true;
            }
        }
        std::printf("%6d %7lld %8zu %7zu %8zu %5d %9.1f%s\n", row.t, row.ticks, row.counts.sprites,
                    row.counts.groups, row.counts.bitmaps, row.counts.undo, row.rss,
                    verdict.c_str());
        std::fflush(stdout);
        if (elapsed >= seconds) {
            // Not quit(): that would close the window, which asks to keep the board.
            QCoreApplication::exit(0);
        }
    };
    QTimer reportTimer;
    reportTimer.setInterval(reportEvery * 1000);
    QObject::connect(&reportTimer, &QTimer::timeout, report);

    userTimer.start();
    reportTimer.start();
    QApplication::exec();
    userTimer.stop();
    form.Timer1()->stop();
    SoundPlayer::Shutdown();

    std::printf("warm-up %d s: at most %zu sprites, %zu groups, %zu bitmaps, %d undo states, "
                "%.1f MB; %d message boxes\n",
                warmup, warm.sprites, warm.groups, warm.bitmaps, warm.undo, warmRss,
                prompter.count);
    if (grew || prompter.count > 0) {
        std::printf("soak: FOUT\n");
        return 1;
    }
    std::printf("soak: vlak\n");
    return 0;
}
