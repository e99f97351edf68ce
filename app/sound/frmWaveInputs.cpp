#include "app/sound/frmWaveInputs.h"

#include "app/simulation/Rounding.h"
#include "app/sound/UCWaveIn.h"
#include "app/sound/WaveInputsLayout.h"
#include "app/sound/modControlPanel.h"
#include "platform/ui/ProgramFolder.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <string>

namespace {

namespace L = WaveInputsLayout;

QRect Rect(const L::Box& box) {
    return {box.x, box.y, box.width, box.height};
}

QLabel* MakeLabel(QWidget* parent, const char* name, const L::Box& box, int pixelSize) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(Rect(box));
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    label->setFont(font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

QPixmap LoadPicture(const char* name) {
    const QString file = QString::fromStdString(ProgramFolder::Path()) + "/images2/" + name;
    QPixmap picture;
    if (!picture.load(file)) {
        qWarning("frmWaveInputs: cannot read the picture %s", qUtf8Printable(file));
    }
    return picture;
}

} // namespace

frmWaveInputs::frmWaveInputs(QWidget* parent)
    : QDialog(parent), background_(LoadPicture("WaveInputs.bmp")),
      labInputCount_(MakeLabel(this, "labInputCount", L::kInputCount, 13)),
      labStatus_(MakeLabel(this, "labStatus", L::kStatus, 11)),
      command1_(new QPushButton(QStringLiteral("Geluidsinstellingen\u2026"), this)),
      btnOK_(new QPushButton(QStringLiteral("OK"), this)), timer1_(new QTimer(this)) {
    setObjectName("frmWaveInputs");
    setWindowTitle(QStringLiteral("Geluid Sensor"));
    setModal(true);
    setFixedSize(L::kWidth, L::kHeight);

    labInputCount_->setText(QStringLiteral("Aantal inputs:"));
    labStatus_->setWordWrap(true);
    labStatus_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    labStatus_->hide();

    const QPixmap bar = LoadPicture("VolumeBar.bmp");
    for (int row = 0; row < L::kRows; ++row) {
        QLabel* caption = MakeLabel(this, "Label2", L::Caption(row), 11);
        caption->setText(row == 0 ? QStringLiteral("Geluids-sensor")
                                  : QStringLiteral("Input #%1").arg(row));
        label2_[std::size_t(row)] = caption;

        QLabel* level = MakeLabel(this, "picVolume", L::Bar(row), 12);
        level->setPixmap(bar);
        level->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        level->resize(0, L::kBarHeight);
        level->hide();
        picVolume_[std::size_t(row)] = level;

        if (row > 0) {
            label3_[std::size_t(row - 1)] = MakeLabel(this, "Label3", L::Name(row), 11);
        }
    }

    command1_->setObjectName("Command1");
    command1_->setGeometry(Rect(L::kSettingsButton));
    command1_->setAutoDefault(false);
    connect(command1_, &QPushButton::clicked, this, &frmWaveInputs::Command1_Click);
    btnOK_->setObjectName("btnOK");
    btnOK_->setGeometry(Rect(L::kOkButton));
    btnOK_->setDefault(true);
    connect(btnOK_, &QPushButton::clicked, this, &frmWaveInputs::btnOK_Click);

    timer1_->setObjectName("Timer1");
    timer1_->setInterval(10);
    connect(timer1_, &QTimer::timeout, this, &frmWaveInputs::Timer1_Timer);
    timer1_->start();
}

void frmWaveInputs::Constructor(UCWaveIn* wi) {
    wi_ = wi;
    const std::int32_t count = wi_ != nullptr ? wi_->GetUsedCount() : 0;
    labInputCount_->setText(QStringLiteral("Aantal inputs: %1").arg(count));
    for (QLabel* name : label3_) {
        name->clear();
    }
    for (std::int32_t i = 1; i <= count; ++i) {
        QString text = "(" + QString::fromStdString(wi_->GetWaveName(i)) + ")";
        if (!wi_->GetWaveInValid(i)) {
            text += QStringLiteral(" (Cannot be used)");
        }
        Label3(i)->setText(text);
        // A long name may not fit under its bar; the whole of it shows on hovering.
        Label3(i)->setToolTip(text);
    }

    QString status;
    if (wi_ != nullptr && !wi_->NotAvailableReason().empty()) {
        status = QString::fromStdString(wi_->NotAvailableReason()) + ".";
    } else if (wi_ != nullptr && wi_->SwitchedOff()) {
        status = QStringLiteral("Geluidsinvoer staat uit: de instelling %1/%2/%3 is \"%4\".")
                     .arg(UCWaveIn::kSettingsApp, UCWaveIn::kSettingsSection,
                          UCWaveIn::kSettingsKey, UCWaveIn::kOff);
    } else if (wi_ != nullptr && count == 0) {
        status = QStringLiteral("Er is geen geluidsingang gevonden.");
    }
    labStatus_->setText(status);
    labStatus_->setVisible(!status.isEmpty());
}

void frmWaveInputs::SetBar(int i, int width) {
    width = std::clamp(width, 0, WaveInputsLayout::kBarWidth);
    int& shown = barWidth_[std::size_t(i)];
    if (width == shown) {
        return;
    }
    QLabel* level = picVolume_[std::size_t(i)];
    if (width > 0) {
        level->resize(width, WaveInputsLayout::kBarHeight);
    }
    if ((width > 0) != (shown > 0)) {
        level->setVisible(width > 0);
    }
    shown = width;
}

void frmWaveInputs::Timer1_Timer() {
    if (wi_ == nullptr) {
        return;
    }
    SetBar(0, RoundHalfEven(wi_->GetVolume() * 200.0 / 50.0));
    for (std::int32_t i = 1; i <= wi_->GetUsedCount(); ++i) {
        SetBar(i, RoundHalfEven(double(wi_->GetWaveVolume(i)) * 200.0));
    }
}

void frmWaveInputs::Command1_Click() {
    modControlPanel::RunControlPanel(modControlPanel::SoundSettingsCommand());
}

void frmWaveInputs::btnOK_Click() {
    hide();
}

void frmWaveInputs::paintEvent(QPaintEvent* event) {
    if (background_.isNull()) {
        QDialog::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, background_);
}
