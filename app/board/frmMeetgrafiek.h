#pragma once
// The "Meetgrafiek" window: up to eight chosen sockets drawn over the last 10 seconds, one
// value per tick of the board, with pause, a reading cursor and export as PNG and CSV.

#include "app/measure/TraceRing.h"

#include <QElapsedTimer>
#include <QImage>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class FORM1;
class MeetgrafiekPlot;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

/// A window of its own beside the board. While it is shown it records, on every tick the
/// board gives it, the value of each chosen socket; hidden, it records nothing and costs
/// nothing. While the board's timer rests (a settled board, whose values cannot change), the
/// graph goes on by itself, kRestTicks ticks of the same values every kRestTicks × 10 ms, so
/// that its time keeps running. It repaints at most kRepaintsPerSecond times a second, and
/// not at all while nothing it shows could have changed.
class frmMeetgrafiek : public QWidget {
    Q_OBJECT

public:
    static constexpr std::size_t kMaxTraces = 8;
    static constexpr int kRepaintsPerSecond = 10;
    static constexpr int kRestTicks = 10;

    /// A hidden window for the board of `form`, which must outlive it.
    explicit frmMeetgrafiek(FORM1& form, QWidget* parent = nullptr);

    /// One tick of the board, after its step: records each trace's value (nothing while
    /// hidden or paused) and repaints when it is time.
    void Tick();
    /// What the graph does every kRestTicks × 10 ms while shown: when the board's timer
    /// rests, kRestTicks ticks of the board's present values.
    void WhileBoardRests();

    /// Adds a trace for socket `naam` (a socket a wire may end on); nothing when it is
    /// already shown. False, with a note in the window, when kMaxTraces are shown.
    bool AddTrace(const std::string& naam);
    /// Removes the trace of `naam`; false when there is none.
    bool RemoveTrace(const std::string& naam);
    /// A click on the board at the point `naam`: while the window is shown and choosing on
    /// the board is on, a socket a wire may end on is added, or removed when shown already,
    /// and the result is true (the board does nothing more with the click); else false.
    bool PickSocket(const std::string& naam);

    /// Pause and continue: a paused graph keeps what it shows; on continue, the ticks of the
    /// pause are a gap.
    void SetPaused(bool paused);
    bool Paused() const { return paused_; }

    /// The socket names of the traces, in the order they were added.
    std::vector<std::string> Traces() const;
    const TraceRing& Ring() const { return ring_; }
    MeetgrafiekPlot* Plot() const { return plot_; }

    /// What the window shows of the graph, as a picture.
    QImage Picture() const;
    /// Every tick the graph shows, as a trace file (Dutch CSV): the time counts from the
    /// first tick recorded since the window was shown, 10 ms a tick.
    std::string CsvText() const;

public slots:
    /// Ask for a file name through the prompter and save there; a failure is told ("Fout").
    void SavePng();
    void SaveCsv();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    /// Records one tick (or counts it as paused), without repainting.
    void Record();
    void RepaintWhenDue();
    void SaveWith(const char* title, const char* filter, const char* extension,
                  const std::function<std::string()>& bytes);
    void ShowTraceList();
    void Note(const QString& text);

    FORM1& form_;
    TraceRing ring_;
    MeetgrafiekPlot* plot_ = nullptr;
    QComboBox* cboAansluiting_ = nullptr;
    QPushButton* btnToevoegen_ = nullptr;
    QPushButton* btnWeghalen_ = nullptr;
    QPushButton* btnKiezen_ = nullptr;
    QPushButton* btnPauze_ = nullptr;
    QPushButton* btnPng_ = nullptr;
    QPushButton* btnCsv_ = nullptr;
    QListWidget* lstSporen_ = nullptr;
    QLabel* labNote_ = nullptr;

    bool paused_ = false;
    std::int64_t pausedTicks_ = 0;
    /// The last tick at which any trace changed (or a trace came or went).
    std::int64_t lastChange_ = 0;
    /// Whether the picture shown is older than the ring.
    bool stale_ = true;
    QElapsedTimer sinceRepaint_;
    QTimer* restTimer_ = nullptr;
    std::vector<SocketReading> readings_;
    std::string dialogPath_;
};
