#pragma once
// The drawing of the measuring graph: the traces of a TraceRing over its whole span, volts
// upward from 0 to 5 V, the newest tick at the right, and a cursor that reads every trace.

#include "app/measure/TraceRing.h"

#include <QColor>
#include <QImage>
#include <QWidget>
#include <cstdint>
#include <optional>

class MeetgrafiekPlot : public QWidget {
    Q_OBJECT

public:
    /// The highest volts on the axis.
    static constexpr int kTopVolts = 5;

    /// Draws `ring`, which must outlive the plot.
    explicit MeetgrafiekPlot(const TraceRing& ring, QWidget* parent = nullptr);

    /// The colour of trace `channel` (0 to 7; later ones repeat the colours).
    static QColor TraceColour(std::size_t channel);

    /// The tick the cursor stands on: a place in the span, counted from the oldest tick the
    /// ring can hold, so that a running graph moves under it; none without a cursor.
    std::optional<std::int64_t> CursorTick() const;
    /// Puts the cursor at `place` ticks from the left edge (0 to the ring's capacity − 1), or
    /// takes it away with none.
    void SetCursorPlace(std::optional<std::int64_t> place);

    QSize sizeHint() const override { return {720, 320}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    /// The area of the traces inside the axes.
    QRect PlotArea() const;
    /// Axes, grid and their numbers, drawn once per size.
    void DrawBackground();
    /// The cursor line and what it reads, into the frame.
    void DrawCursor();
    void PlaceCursorAt(int x);
    /// The x of tick place `place` (0 at the left edge) and the y of `tenths`.
    double X(double place) const;
    double Y(std::int32_t tenths, std::size_t channel) const;

    const TraceRing& ring_;
    QImage background_;
    /// What is shown: the background with the traces written into it.
    QImage frame_;
    std::optional<std::int64_t> cursorPlace_;
};
