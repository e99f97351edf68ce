#pragma once
// The information window of the Help menu.

#include <QDialog>

class QLabel;
class QPushButton;

/// Shows the picture "/images2/about.bmp" of the program's folder above an OK button that
/// closes the window (the dialog is then accepted). When the picture cannot be read the
/// picture box stays empty and a warning naming the file goes to the log.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    /// The picture box; it has no picture when the file could not be read.
    QLabel* picSplash() const { return picSplash_; }
    /// The button "OK".
    QPushButton* btnOK() const { return btnOK_; }

private:
    QLabel* picSplash_;
    QPushButton* btnOK_;
};
