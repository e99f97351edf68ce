#include "wave_capture/WaveControlWindow.h"

#include <QPainter>

WaveControlWindow::WaveControlWindow(QString face, Receiver receiver, QWidget* parent)
    : QWidget(parent), face_(std::move(face)), receiver_(std::move(receiver)) {
    resize(100, 30);
}

bool WaveControlWindow::event(QEvent* e) {
    if (e->type() == WaveInEvent::EventType()) {
        if (receiver_) {
            receiver_(static_cast<const WaveInEvent&>(*e));
        }
        return true;
    }
    return QWidget::event(e);
}

void WaveControlWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(rect(), palette().window());
    painter.setPen(palette().windowText().color());
    painter.drawRect(area);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, face_);
}
