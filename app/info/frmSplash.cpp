#include "app/info/frmSplash.h"

#include "platform/ui/ProgramFolder.h"

#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), picSplash_(new QLabel(this)) {
    setObjectName("frmSplash");
    setWindowTitle("Tavelon2 Splash");
    setAttribute(Qt::WA_QuitOnClose, false);
    picSplash_->setObjectName("picSplash");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picSplash_);

    const QString file = QString::fromStdString(ProgramFolder::Path()) + "/images2/splash.bmp";
    QPixmap picture;
    if (picture.load(file)) {
        picSplash_->setPixmap(picture);
    } else {
        qWarning("frmSplash: cannot read the picture %s", qUtf8Printable(file));
        resize(400, 300);
    }
}

void frmSplash::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (const QScreen* where = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(where->availableGeometry().center());
        move(frame.topLeft());
    }
}
