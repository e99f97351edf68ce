#pragma once
// Where the pointer is on the screen, and which window lies under it. Tests install their own
// source to steer the simulation's pointer-dependent parts without moving a real mouse.

#include <QPoint>

class QWidget;

class PointerSource {
public:
    virtual ~PointerSource() = default;

    /// The pointer's position in global screen coordinates.
    virtual QPoint GlobalPosition() = 0;
    /// The widget under the global point, or nullptr when none of ours is there.
    virtual QWidget* WidgetAt(QPoint global) = 0;

    /// The installed source, or the real pointer when none is installed.
    static PointerSource& Current();
    /// Installs `source` (not owned) for the whole process; nullptr restores the real pointer.
    static void Install(PointerSource* source);
};

/// A pointer that stands wherever the test puts it.
class ManualPointer : public PointerSource {
public:
    QPoint GlobalPosition() override { return position; }
    QWidget* WidgetAt(QPoint) override { return widgetUnder; }

    QPoint position;
    QWidget* widgetUnder = nullptr;
};
