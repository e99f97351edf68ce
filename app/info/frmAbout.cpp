#include "app/info/frmAbout.h"

#include "platform/ui/ProgramFolder.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent), picSplash_(new QLabel(this)), btnOK_(new QPushButton("OK", this)) {
    setObjectName("frmAbout");
    setWindowTitle("Over Tavelon Simulator versie 2");
    setModal(true);
    picSplash_->setObjectName("picSplash");
    picSplash_->setAlignment(Qt::AlignCenter);
    btnOK_->setObjectName("btnOK");
    btnOK_->setDefault(true);
    connect(btnOK_, &QPushButton::clicked, this, &QDialog::accept);

    const QString file = QString::fromStdString(ProgramFolder::Path()) + "/images2/about.bmp";
    QPixmap picture;
    if (picture.load(file)) {
        picSplash_->setPixmap(picture);
    } else {
        qWarning("frmAbout: cannot read the picture %s", qUtf8Printable(file));
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picSplash_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
