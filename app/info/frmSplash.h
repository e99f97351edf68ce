#pragma once
// The picture shown while the program starts.

#include <QWidget>

class QLabel;

/// A frameless window with the picture "/images2/splash.bmp" of the program's folder,
/// centred on its screen when shown. The start-up shows it without waiting and closes it
/// when the main window is ready; closing it never ends the program. When the picture
/// cannot be read the window stays empty and a warning naming the file goes to the log.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);

    /// The picture box; it has no picture when the file could not be read.
    QLabel* picSplash() const { return picSplash_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* picSplash_;
};
