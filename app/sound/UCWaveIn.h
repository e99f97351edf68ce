#pragma once
// The sound sensor's control: hosts up to five capture controls, starts them and turns their
// input levels into the value of the board's sound sensor.

#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <string>

class QTimer;
class WaveInControl;

/// An invisible control owned by the main window. On creation it makes its five capture
/// controls, reads the per-user setting TAVLON2/Sound/Value and, unless that is exactly
/// "Off", numbers the inputs 1 to the device count (at most five); its first timer tick
/// starts each usable one on its own control. When the controls cannot be made, sound input
/// is not available: the count is 0 and NotAvailableReason() says why.
class UCWaveIn : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMaxInputs = 5;
    /// Where the sound setting lives, and the text that switches sound input off (exactly).
    static constexpr const char* kSettingsApp = "TAVLON2";
    static constexpr const char* kSettingsSection = "Sound";
    static constexpr const char* kSettingsKey = "Value";
    static constexpr const char* kOff = "Off";

    /// A hidden control of no size, never under the pointer.
    explicit UCWaveIn(QWidget* parent = nullptr);
    ~UCWaveIn() override;

    /// How many inputs are in use, 0 to 5.
    std::int32_t GetUsedCount() const { return usedCount_; }
    /// Product name of input `i`; "" when there is no such input.
    std::string GetWaveName(std::int32_t i);
    /// Whether input `i` can capture 44.1 kHz mono 8-bit; false when there is no such input.
    bool GetWaveInValid(std::int32_t i);
    /// Level of input `i` (1 to 5) relative to the peak level; it does not raise the peak, so
    /// it may exceed 1 until the next GetVolume. 0 for any other `i` and while sound is off.
    float GetWaveVolume(std::int32_t i);
    /// The sound sensor's value, 0 to 50: the loudest input's level × 50 / the largest level
    /// seen since start-up, rounded halves to even. Raises that peak. 0 without inputs.
    std::int32_t GetVolume();

    /// Why sound input is not available (Dutch, one sentence without the final full stop), or
    /// "" when it is.
    const std::string& NotAvailableReason() const { return notAvailable_; }
    /// Whether the setting switched sound input off.
    bool SwitchedOff() const { return switchedOff_; }
    /// Whether the first tick has started the usable inputs.
    bool Started() const { return started_; }
    /// The largest overall level seen since start-up; 1 after start-up with sound on, 0 off.
    std::int32_t PeakLevel() const { return peak_; }

    QTimer* Timer1() const { return timer1_; }
    /// Starts the usable inputs, once; later calls do nothing.
    void Timer1_Timer();

signals:
    /// An input delivered a buffer of sound: the level may have changed. Sent before the
    /// buffer is measured, so a level read later sees it.
    void SoundArrived();

protected:
    /// Sees every buffer arrive at the capture controls' windows.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UserControl_Initialize();

    QTimer* timer1_;
    std::array<std::unique_ptr<WaveInControl>, kMaxInputs> TheWaveIn;
    std::int32_t usedCount_ = 0;
    bool started_ = false;
    bool switchedOff_ = false;
    std::int32_t peak_ = 0;
    std::string notAvailable_;
};
