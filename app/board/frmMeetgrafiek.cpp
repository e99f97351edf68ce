#include "app/board/frmMeetgrafiek.h"

#include "app/board/FORM1.h"
#include "app/board/MeetgrafiekPlot.h"
#include "app/documents/DocumentPaths.h"
#include "app/measure/CsvTrace.h"
#include "app/simulation/SocketTable.h"
#include "platform/files/DurableFile.h"
#include "platform/files/DurableFileError.h"
#include "platform/ui/Prompter.h"

#include <QBuffer>
#include <QComboBox>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr const char* kHint = "Klik op een aansluiting op het bord om haar toe te voegen of weg "
                              "te halen. Klik in de grafiek voor de cursor; rechts klikken haalt "
                              "hem weg.";

/// A socket of the table that a wire may end on: one that can have a value.
bool Measurable(const std::string& naam) {
    return std::any_of(kSocketTable.begin(), kSocketTable.end(), [&](const SocketEntry& entry) {
        return entry.Connectable && entry.naam == naam;
    });
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

frmMeetgrafiek::frmMeetgrafiek(FORM1& form, QWidget* parent)
    : QWidget(parent, Qt::Window), form_(form) {
    setObjectName("frmMeetgrafiek");
    setWindowTitle("Meetgrafiek");

    cboAansluiting_ = new QComboBox(this);
    cboAansluiting_->setObjectName("cboAansluiting");
    for (const SocketEntry& entry : kSocketTable) {
        if (entry.Connectable) {
            cboAansluiting_->addItem(Text(std::string(entry.naam)));
        }
    }
    btnToevoegen_ = new QPushButton("Toevoegen", this);
    btnToevoegen_->setObjectName("btnToevoegen");
    btnWeghalen_ = new QPushButton("Weghalen", this);
    btnWeghalen_->setObjectName("btnWeghalen");
    btnKiezen_ = new QPushButton("Kiezen op het bord", this);
    btnKiezen_->setObjectName("btnKiezen");
    btnKiezen_->setCheckable(true);
    btnKiezen_->setChecked(true);
    btnPauze_ = new QPushButton("Pauze", this);
    btnPauze_->setObjectName("btnPauze");
    btnPng_ = new QPushButton("Bewaar als PNG...", this);
    btnPng_->setObjectName("btnPng");
    btnCsv_ = new QPushButton("Bewaar als CSV...", this);
    btnCsv_->setObjectName("btnCsv");

    plot_ = new MeetgrafiekPlot(ring_);
    lstSporen_ = new QListWidget;
    lstSporen_->setObjectName("lstSporen");
    lstSporen_->setFixedWidth(210);
    labNote_ = new QLabel(kHint, this);
    labNote_->setObjectName("labNote");
    labNote_->setWordWrap(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cboAansluiting_, 1);
    buttons->addWidget(btnToevoegen_);
    buttons->addWidget(btnWeghalen_);
    buttons->addSpacing(12);
    buttons->addWidget(btnKiezen_);
    buttons->addWidget(btnPauze_);
    buttons->addWidget(btnPng_);
    buttons->addWidget(btnCsv_);
    // The graph and its names, together the picture that PNG export saves.
    auto* graph = new QWidget(this);
    graph->setObjectName("picGrafiekMetNamen");
    auto* graphLayout = new QHBoxLayout(graph);
    graphLayout->setContentsMargins(0, 0, 0, 0);
    graphLayout->addWidget(plot_, 1);
    graphLayout->addWidget(lstSporen_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(graph, 1);
    layout->addWidget(labNote_);

    connect(btnToevoegen_, &QPushButton::clicked, this,
            [this] { AddTrace(cboAansluiting_->currentText().toStdString()); });
    connect(btnWeghalen_, &QPushButton::clicked, this, [this] {
        if (const QListWidgetItem* item = lstSporen_->currentItem()) {
            RemoveTrace(item->text().toStdString());
        }
    });
    connect(lstSporen_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { RemoveTrace(item->text().toStdString()); });
    connect(btnPauze_, &QPushButton::clicked, this, [this] { SetPaused(!paused_); });
    connect(btnPng_, &QPushButton::clicked, this, &frmMeetgrafiek::SavePng);
    connect(btnCsv_, &QPushButton::clicked, this, &frmMeetgrafiek::SaveCsv);
    restTimer_ = new QTimer(this);
    restTimer_->setInterval(kRestTicks * 10);
    connect(restTimer_, &QTimer::timeout, this, &frmMeetgrafiek::WhileBoardRests);
    ShowTraceList();
}

void frmMeetgrafiek::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous()) {
        restTimer_->stop();
    }
}

void frmMeetgrafiek::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) {
        return; // back from being minimised: the graph goes on
    }
    // Opened anew: what it recorded before it was closed is no longer the last 10 seconds.
    ring_.Clear();
    pausedTicks_ = 0;
    lastChange_ = 0;
    stale_ = true;
    restTimer_->start();
}

void frmMeetgrafiek::Tick() {
    if (!isVisible()) {
        return;
    }
    Record();
    RepaintWhenDue();
}

void frmMeetgrafiek::WhileBoardRests() {
    if (!isVisible() || !form_.HasBoard() || form_.Timer1()->isActive()) {
        return;
    }
    for (int k = 0; k < kRestTicks; ++k) {
        Record();
    }
    RepaintWhenDue();
}

void frmMeetgrafiek::Record() {
    if (paused_) {
        ++pausedTicks_;
        return;
    }
    const std::int64_t tick = ring_.Ticks();
    readings_.resize(ring_.Channels());
    for (std::size_t c = 0; c < ring_.Channels(); ++c) {
        readings_[c] = form_.Model().Value(ring_.Name(c));
        if (readings_[c] != ring_.Value(c, tick - 1)) {
            lastChange_ = tick;
        }
    }
    ring_.Push(readings_);
    // Constant traces look the same once their last change has left the span.
    if (ring_.Ticks() - lastChange_ <= std::int64_t(ring_.Capacity()) + 1) {
        stale_ = true;
    }
}

void frmMeetgrafiek::RepaintWhenDue() {
    if (stale_ &&
        (!sinceRepaint_.isValid() || sinceRepaint_.elapsed() >= 1000 / kRepaintsPerSecond)) {
        plot_->update();
        sinceRepaint_.start();
        stale_ = false;
    }
}

bool frmMeetgrafiek::AddTrace(const std::string& naam) {
    if (ring_.Find(naam) < ring_.Channels()) {
        return true;
    }
    if (ring_.Channels() >= kMaxTraces) {
        Note("Er passen ten hoogste acht aansluitingen in de grafiek; haal er eerst een weg.");
        return false;
    }
    ring_.Add(naam);
    lastChange_ = ring_.Ticks();
    ShowTraceList();
    Note(kHint);
    plot_->update();
    return true;
}

bool frmMeetgrafiek::RemoveTrace(const std::string& naam) {
    const std::size_t channel = ring_.Find(naam);
    if (channel >= ring_.Channels()) {
        return false;
    }
    ring_.Remove(channel);
    lastChange_ = ring_.Ticks();
    ShowTraceList();
    Note(kHint);
    plot_->update();
    return true;
}

bool frmMeetgrafiek::PickSocket(const std::string& naam) {
    if (!isVisible() || !btnKiezen_->isChecked() || !Measurable(naam)) {
        return false;
    }
    if (!RemoveTrace(naam)) {
        AddTrace(naam);
    }
    return true;
}

void frmMeetgrafiek::SetPaused(bool paused) {
    if (paused == paused_) {
        return;
    }
    paused_ = paused;
    btnPauze_->setText(paused ? "Verder" : "Pauze");
    if (!paused) {
        ring_.Skip(pausedTicks_);
        pausedTicks_ = 0;
        lastChange_ = ring_.Ticks();
    }
    plot_->update();
}

std::vector<std::string> frmMeetgrafiek::Traces() const {
    std::vector<std::string> names;
    for (std::size_t c = 0; c < ring_.Channels(); ++c) {
        names.push_back(ring_.Name(c));
    }
    return names;
}

void frmMeetgrafiek::ShowTraceList() {
    lstSporen_->clear();
    for (std::size_t c = 0; c < ring_.Channels(); ++c) {
        QPixmap swatch(14, 14);
        swatch.fill(MeetgrafiekPlot::TraceColour(c));
        auto* item = new QListWidgetItem(QIcon(swatch), Text(ring_.Name(c)), lstSporen_);
        item->setForeground(MeetgrafiekPlot::TraceColour(c));
    }
    btnWeghalen_->setEnabled(ring_.Channels() > 0);
}

void frmMeetgrafiek::Note(const QString& text) {
    if (labNote_->text() != text) {
        labNote_->setText(text);
    }
}

QImage frmMeetgrafiek::Picture() const {
    return plot_->parentWidget()->grab().toImage();
}

std::string frmMeetgrafiek::CsvText() const {
    CsvTrace csv(Traces());
    std::vector<SocketReading> readings(ring_.Channels());
    for (std::int64_t t = ring_.FirstTick(); t < ring_.Ticks(); ++t) {
        for (std::size_t c = 0; c < ring_.Channels(); ++c) {
            readings[c] = ring_.Value(c, t);
        }
        csv.Step((t + 1) * 10, readings);
    }
    return csv.Text();
}

void frmMeetgrafiek::SavePng() {
    // What is shown now, not what the board shows once the dialog closes.
    const QImage picture = Picture();
    SaveWith("Grafiek bewaren als PNG", "PNG-plaatjes (*.png)", ".png", [picture] {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter(&buffer, "png").write(picture);
        return bytes.toStdString();
    });
}

void frmMeetgrafiek::SaveCsv() {
    const std::string text = CsvText();
    SaveWith("Grafiek bewaren als CSV", "CSV-bestanden (*.csv)", ".csv", [text] { return text; });
}

void frmMeetgrafiek::SaveWith(const char* title, const char* filter, const char* extension,
                              const std::function<std::string()>& bytes) {
    const std::optional<std::string> chosen =
        Prompter::Current().SaveFileName({title, filter, dialogPath_});
    if (!chosen || chosen->empty()) {
        return;
    }
    std::string path = *chosen;
    const std::string ext = extension;
    const bool hasExtension =
        path.size() > ext.size() && QString::fromStdString(path.substr(path.size() - ext.size()))
                                            .compare(Text(ext), Qt::CaseInsensitive) == 0;
    if (!hasExtension) {
        path += ext;
        // The dialog asked about replacing the name chosen, not about this one.
        if (DocumentPaths::FileExists(path) &&
            Prompter::Current().Message("Het bestand " + path + " bestaat al. Vervangen?", title,
                                        Prompter::Buttons::YesNo,
                                        Prompter::Icon::Question) != Prompter::Answer::Yes) {
            return;
        }
    }
    dialogPath_ = path;
    try {
        DurableFile::Write(path, bytes());
    } catch (const DurableFileError& error) {
        Prompter::Current().Message(error.what(), "Fout", Prompter::Buttons::Ok,
                                    Prompter::Icon::Error);
    }
}
