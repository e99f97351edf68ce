#pragma once
// The probe: while the pointer rests on a socket or a wire, a label over the board says what
// it is and the voltage it carries in this step.

#include "app/components/clsLine.h"

#include <QLabel>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class FORM1;

/// Told by the pointer interaction where the pointer is, in every edit mode; refreshed by the
/// tick. Once the pointer has rested kRestSeconds on a socket a wire may end on ("Comparator
/// Uit: 5,0 V", "LED 1 Ingang: geen waarde"), or on a finished wire (both ends and its
/// voltage), a tooltip-like label beside it shows the text in the screen's own font, so it
/// reads the same at every scale of the board; it follows the value while the pointer stays.
/// Leaving the socket or wire, or the board, hides it. While no label shows and none is
/// waiting to show, a refresh costs nothing, and a hidden label is never painted.
class SocketProbe : public QObject {
public:
    static constexpr float kRestSeconds = 0.3F;
    /// How near a wire's centre line the pointer must be, in board pixels.
    static constexpr double kWireReach = 4.0;

    /// The label is made hidden on the window's canvas.
    explicit SocketProbe(FORM1& form);
    ~SocketProbe() override;

    /// The pointer is at board pixel (x, y). A new socket or wire under it starts the rest;
    /// the same one keeps the label as it is; nothing under it hides the label.
    void PointerAt(std::int32_t x, std::int32_t y);
    /// Nothing to probe: the pointer is off the board or over the knob.
    void Clear();
    /// The tick's part: shows the label once the pointer has rested, and keeps its text and
    /// place up to date while it shows.
    void Refresh();

    bool Showing() const { return shown_; }
    /// Whether the pointer rests on something whose label is not shown yet.
    bool Waiting() const { return hasTarget_ && !shown_; }
    /// The text shown; "" while no label shows.
    std::string Text() const { return shown_ ? text_ : std::string(); }
    QLabel* Label() const { return label_; }

    /// "NAAM: 3,5 V", or "NAAM: geen waarde" when the socket has no value.
    static std::string SocketText(std::string_view naam, std::optional<std::int32_t> value);
    /// "Draad NAAM1 – NAAM2: 3,5 V", or "...: geen waarde".
    static std::string WireText(std::string_view naam1, std::string_view naam2,
                                std::optional<std::int32_t> value);
    /// Distance from (x, y) to the segment from (x1, y1) to (x2, y2).
    static double SegmentDistance(double x, double y, double x1, double y1, double x2, double y2);

protected:
    /// Leaving the canvas hides the label.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// A socket's value in the step just run; none when it has no value.
    std::optional<std::int32_t> SocketValue(std::string_view naam) const;
    /// The text for what the pointer rests on; "" when the wire is no longer on the board.
    std::string TargetText() const;
    void Place();
    void HideLabel();

    FORM1& form_;
    QPointer<QLabel> label_;
    /// The socket, or else the wire, the pointer rests on.
    std::string socket_;
    std::weak_ptr<clsLine> wire_;
    bool hasTarget_ = false;
    /// Where the label points: the socket's centre or the pointer, in board pixels.
    QPointF anchor_;
    float restStart_ = 0.0F;
    bool shown_ = false;
    std::string text_;
};
