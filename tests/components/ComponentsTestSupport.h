#pragma once
// What the component tests share: a canvas with the board's size, and ways to see what a
// component did on it.

#include "sprite_control/KaleidoATL.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace components_test {

/// A canvas of the board's size, shown one board pixel per widget pixel.
class OnCanvas : public testing::Test {
protected:
    static constexpr int kBoardWidth = 420;
    static constexpr int kBoardHeight = 360;

    OnCanvas() {
        canvas.SetBoardSize(kBoardWidth, kBoardHeight);
        canvas.resize(kBoardWidth, kBoardHeight);
    }

    /// How many handles (bitmaps, sprites, groups) the canvas gave out while `action` ran.
    std::int32_t HandlesMadeBy(const std::function<void()>& action) {
        const std::int32_t before = canvas.CreateGroup();
        canvas.DestroyGroup(before);
        action();
        const std::int32_t after = canvas.CreateGroup();
        canvas.DestroyGroup(after);
        return after - before - 1;
    }

    /// Sends a mouse event to the canvas at a board point.
    void Mouse(QEvent::Type type, int x, int y, Qt::MouseButton button, Qt::MouseButtons held) {
        const QPointF at = canvas.WidgetPointFromBoard(QPointF(x + 0.5, y + 0.5));
        QMouseEvent event(type, at, canvas.mapToGlobal(at), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&canvas, &event);
    }
    void Press(int x, int y) {
        Mouse(QEvent::MouseButtonPress, x, y, Qt::LeftButton, Qt::LeftButton);
    }
    void Drag(int x, int y) { Mouse(QEvent::MouseMove, x, y, Qt::NoButton, Qt::LeftButton); }
    void Release(int x, int y) {
        Mouse(QEvent::MouseButtonRelease, x, y, Qt::LeftButton, Qt::NoButton);
    }

    KaleidoATL canvas;
};

} // namespace components_test
