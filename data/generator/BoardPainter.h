#pragma once
// The board picture: the panel of function blocks, each outlined and labelled, with every
// socket and every operated control drawn centred at its place in the socket table, and plain
// room where the program lays the lamps, the counter's digit and the sensors.

#include "data/generator/BoardSocket.h"

#include <QImage>
#include <QPointF>
#include <QRect>
#include <string>
#include <vector>

class QPainter;

class BoardPainter {
public:
    static constexpr int kWidth = 420;
    static constexpr int kHeight = 360;

    /// Top-left corners of the four output lamps, of the counter's digit and of the sensors.
    static const QPoint kLedPlaces[4];
    static const QPoint kDisplayPlace;
    static const QPoint kSensorPlaces[2];

    /// `sockets` is the socket table in its order; the art is placed around its positions.
    explicit BoardPainter(std::vector<BoardSocket> sockets);

    /// The 420 x 360 picture, at `factor` times that size when asked (drawn afresh at that
    /// resolution). Throws std::runtime_error naming a point when the table lacks a point the
    /// picture needs or has an operated point it has no drawing for.
    QImage Paint(int factor = 1) const;

private:
    const BoardSocket& Find(const std::string& name) const;
    /// Centre of the named point's pixel.
    QPointF At(const std::string& name) const;

    void PaintPanels(QPainter& p) const;
    void PaintSources(QPainter& p) const;
    void PaintGates(QPainter& p) const;
    void PaintCounterAndConverter(QPainter& p) const;
    void PaintOutputs(QPainter& p) const;
    void PaintNamePlate(QPainter& p) const;
    void PaintPoints(QPainter& p) const;

    std::vector<BoardSocket> sockets_;
};
