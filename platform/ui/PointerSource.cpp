#include "platform/ui/PointerSource.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>

namespace {

class RealPointer : public PointerSource {
public:
    QPoint GlobalPosition() override { return QCursor::pos(); }
    QWidget* WidgetAt(QPoint global) override { return QApplication::widgetAt(global); }
};

PointerSource* installedPointer = nullptr;

} // namespace

PointerSource& PointerSource::Current() {
    if (installedPointer != nullptr) {
        return *installedPointer;
    }
    static RealPointer real;
    return real;
}

void PointerSource::Install(PointerSource* source) { installedPointer = source; }
