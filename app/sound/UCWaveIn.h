#pragma once
// The sound sensor's control: turns the levels of the computer's sound inputs into the value
// of the board's sound sensor.

#include <QWidget>
#include <cstdint>

/// An invisible control owned by the main window. Sound capture is not available yet, so the
/// sound sensor stays silent.
class UCWaveIn : public QWidget {
    Q_OBJECT

public:
    /// A hidden control of no size, never under the pointer.
    explicit UCWaveIn(QWidget* parent = nullptr);

    /// The sound sensor's value, 0 to 50; always 0 while no input is captured.
    std::int32_t GetVolume();
};
