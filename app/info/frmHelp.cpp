#include "app/info/frmHelp.h"

#include "platform/ui/ProgramFolder.h"
#include "platform/ui/Prompter.h"

#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>
#include <algorithm>

namespace {

frmHelp::BrowserFactory& Factory() {
    static frmHelp::BrowserFactory factory;
    return factory;
}

WirePalette& Palette() {
    static WirePalette palette = WirePalette::Normal;
    return palette;
}

/// The colour number (1 to 8) of a voltage colour of either palette; 0 for any other.
int VoltageColourNumber(QRgb colour) {
    const std::uint32_t rgb = colour & 0xFFFFFFU;
    for (int i = 1; i <= 8; ++i) {
        if (rgb == WireColour(WirePalette::Normal, i) ||
            rgb == WireColour(WirePalette::ColourBlind, i)) {
            return i;
        }
    }
    return 0;
}

void ColourTables(QTextFrame* frame, WirePalette palette) {
    if (auto* table = qobject_cast<QTextTable*>(frame)) {
        for (int row = 0; row < table->rows(); ++row) {
            for (int column = 0; column < table->columns(); ++column) {
                const QTextTableCell cell = table->cellAt(row, column);
                QTextTableCellFormat format = cell.format().toTableCellFormat();
                if (format.background().style() == Qt::NoBrush) {
                    continue;
                }
                const int number = VoltageColourNumber(format.background().color().rgb());
                if (number != 0) {
                    const QColor colour(QRgb(0xFF000000U | WireColour(palette, number)));
                    format.setBackground(colour);
                    table->cellAt(row, column).setFormat(format);
                    // The cell's text (a blank) carries the cell's colour as well.
                    QTextCursor text = cell.firstCursorPosition();
                    text.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
                    QTextCharFormat characters;
                    characters.setBackground(colour);
                    text.mergeCharFormat(characters);
                }
            }
        }
    }
    for (QTextFrame* child : frame->childFrames()) {
        ColourTables(child, palette);
    }
}

QPointer<frmHelp>& SharedWindow() {
    static QPointer<frmHelp> window;
    return window;
}

// A page counts as present when it can really be read: a folder or an unreadable file of
// that name does not count.
bool CanRead(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

} // namespace

frmHelp::frmHelp(QWidget* parent) : QWidget(parent, Qt::Window), labLoading_(new QLabel(this)) {
    setObjectName("frmHelp");
    setWindowTitle("Hulp");
    setAttribute(Qt::WA_QuitOnClose, false);
    labLoading_->setObjectName("labLoading");
    labLoading_->setText("Loading...");
    labLoading_->move(8, 8);

    browser_ = Factory() ? Factory()(this) : new QTextBrowser(this);
    if (browser_ == nullptr) {
        Prompter::Current().Message("Kan webbrowser niet opstarten..", "Foutmelding",
                                    Prompter::Buttons::Ok, Prompter::Icon::Error);
    } else {
        browser_->setParent(this);
        browser_->setObjectName("browser");
        browser_->setOpenExternalLinks(true);
        browser_->raise();
        browser_->show();
    }
    resize(640, 720);
    FitBrowser();
}

frmHelp& frmHelp::Shared() {
    QPointer<frmHelp>& window = SharedWindow();
    if (window.isNull()) {
        window = new frmHelp;
        static bool cleanupConnected = false;
        if (!cleanupConnected && QCoreApplication::instance() != nullptr) {
            QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit,
                             &frmHelp::DestroyShared);
            cleanupConnected = true;
        }
    }
    return *window;
}

void frmHelp::DestroyShared() {
    delete SharedWindow().data();
    SharedWindow() = nullptr;
}

void frmHelp::SetBrowserFactory(BrowserFactory factory) {
    Factory() = std::move(factory);
}

void frmHelp::Constructor(const std::string& language) {
    if (browser_ == nullptr) {
        return;
    }
    const QString html = QString::fromStdString(ProgramFolder::Path()) + "/html/";
    QString page = html + "Help" + QString::fromStdString(language) + ".htm";
    if (!CanRead(page)) {
        page = html + "HelpENG.htm";
    }
    if (!CanRead(page)) {
        browser_->setHtml("<p>De hulppagina " + page.toHtmlEscaped() +
                          " kan niet worden geopend.</p>");
        return;
    }
    browser_->setSource(QUrl::fromLocalFile(page), QTextDocument::HtmlResource);
    ColourLegend();
}

void frmHelp::ShowWirePalette(WirePalette palette) {
    Palette() = palette;
    if (frmHelp* window = SharedWindow().data()) {
        window->ColourLegend();
    }
}

WirePalette frmHelp::LegendPalette() {
    return Palette();
}

void frmHelp::ColourLegend() {
    if (browser_ != nullptr) {
        ColourTables(browser_->document()->rootFrame(), Palette());
    }
}

void frmHelp::PlaceBeside(const QWidget& window) {
    const QRect main = window.frameGeometry();
    const QScreen* screen = window.screen();
    const QRect room = screen != nullptr ? screen->availableGeometry() : main;
    // The frame the window manager adds is not known before the window is shown; the main
    // window's frame is the best guess.
    const QMargins frame(
        window.geometry().left() - main.left(), window.geometry().top() - main.top(),
        main.right() - window.geometry().right(), main.bottom() - window.geometry().bottom());
    const QSize outer = size().grownBy(frame);
    const int top = std::clamp(main.top(), room.top(),
                               std::max(room.top(), room.bottom() + 1 - outer.height()));
    QPoint place;
    if (main.right() + 1 + outer.width() <= room.right() + 1) {
        place = QPoint(main.right() + 1, top);
    } else if (main.left() - outer.width() >= room.left()) {
        place = QPoint(main.left() - outer.width(), top);
    } else {
        place = main.center() - QPoint(outer.width() / 2, outer.height() / 2);
        place.setX(std::clamp(place.x(), room.left(),
                              std::max(room.left(), room.right() + 1 - outer.width())));
        place.setY(std::clamp(place.y(), room.top(),
                              std::max(room.top(), room.bottom() + 1 - outer.height())));
    }
    move(place);
}

void frmHelp::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmHelp::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FitBrowser();
}

void frmHelp::FitBrowser() {
    if (browser_ != nullptr) {
        browser_->setGeometry(0, 0, width(), height());
    }
}
