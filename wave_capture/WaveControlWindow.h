#pragma once
// The window of a capture control inside its container: paints the control's face and
// receives the notifications of its wave-input device, on the user-interface thread.

#include "platform/wave/WaveInEvent.h"

#include <QWidget>
#include <functional>

class WaveControlWindow : public QWidget {
    Q_OBJECT

public:
    using Receiver = std::function<void(const WaveInEvent&)>;

    /// `face` is the text painted centred; `receiver` gets every WaveInEvent.
    WaveControlWindow(QString face, Receiver receiver, QWidget* parent = nullptr);

    /// Drops the receiver: the control is going, later notifications are ignored.
    void Detach() { receiver_ = nullptr; }
    const QString& Face() const { return face_; }

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    QString face_;
    Receiver receiver_;
};
