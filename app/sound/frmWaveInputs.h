#pragma once
// The sound input chooser: the inputs in use with their names and level bars.

#include <QDialog>
#include <QPixmap>
#include <array>

class QLabel;
class QPushButton;
class QTimer;
class UCWaveIn;

/// The window "Geluid Sensor" on its background picture "/images2/WaveInputs.bmp": the number
/// of inputs, each input's name (with " (Cannot be used)" when it cannot capture), a level bar
/// for the sensor and one per input that follow the sound every 10 ms, a button that opens
/// the desktop's sound settings and "OK". It shows a UCWaveIn once Constructor has been
/// called; until then its timer does nothing.
class frmWaveInputs : public QDialog {
    Q_OBJECT
public:
    explicit frmWaveInputs(QWidget* parent = nullptr);

    /// Shows `wi`: the count, the names and, when sound input is not available or switched
    /// off, one line saying so.
    void Constructor(UCWaveIn* wi);

    QLabel* labInputCount() const { return labInputCount_; }
    /// The line that says why there is no sound input; hidden when there is nothing to say.
    QLabel* labStatus() const { return labStatus_; }
    /// Name label of input i, i = 1 to 5.
    QLabel* Label3(int i) const { return label3_.at(std::size_t(i - 1)); }
    /// Fixed caption of row i, i = 0 to 5.
    QLabel* Label2(int i) const { return label2_.at(std::size_t(i)); }
    /// Level bar i, i = 0 (the sensor) to 5.
    QLabel* picVolume(int i) const { return picVolume_.at(std::size_t(i)); }
    QPushButton* Command1() const { return command1_; }
    QPushButton* btnOK() const { return btnOK_; }
    QTimer* Timer1() const { return timer1_; }

    /// Sets the bars: bar 0 to GetVolume × 200 / 50 pixels, bar i to GetWaveVolume(i) × 200
    /// pixels (at most 200); a bar of width 0 is hidden. A bar is changed only when its width
    /// changes, so a steady sound costs no painting.
    void Timer1_Timer();
    /// Starts the desktop's sound settings, when some are found; otherwise nothing happens.
    void Command1_Click();
    /// Hides the window, which ends its modal display.
    void btnOK_Click();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void SetBar(int i, int width);

    UCWaveIn* wi_ = nullptr;
    QPixmap background_;
    QLabel* labInputCount_;
    QLabel* labStatus_;
    std::array<QLabel*, 5> label3_{};
    std::array<QLabel*, 6> label2_{};
    std::array<QLabel*, 6> picVolume_{};
    std::array<int, 6> barWidth_{};
    QPushButton* command1_;
    QPushButton* btnOK_;
    QTimer* timer1_;
};
