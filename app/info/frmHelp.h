#pragma once
// The window that shows the help pages of the "html" folder.

#include "app/simulation/WirePalette.h"

#include <QWidget>
#include <functional>
#include <string>

class QLabel;
class QTextBrowser;

/// Shows a local HTML help page in its browser. The browser is made when the window is
/// made and always covers the whole inside of the window; under it lies the label
/// "Loading...". When the browser cannot be made the user is told ("Kan webbrowser niet
/// opstarten..", title "Foutmelding") and the window stays without one; Constructor then
/// does nothing. Closing the window hides it, so that it can be shown again.
class frmHelp : public QWidget {
    Q_OBJECT
public:
    using BrowserFactory = std::function<QTextBrowser*(QWidget* parent)>;

    explicit frmHelp(QWidget* parent = nullptr);

    /// The one help window that every help request uses, made on first use. It never keeps
    /// the program running and is deleted when the application quits or by DestroyShared.
    static frmHelp& Shared();
    /// Deletes the shared window if there is one; the next Shared makes a new one.
    static void DestroyShared();
    /// Replaces how windows made from now on get their browser (tests use it to make the
    /// browser fail by returning nullptr); an empty function restores the plain browser.
    static void SetBrowserFactory(BrowserFactory factory);

    /// Shows "/html/Help" + `language` + ".htm" of the program's folder when that file can
    /// be opened for reading, and otherwise "/html/HelpENG.htm". When the English page
    /// cannot be read either, the browser says which file is missing. Relative links and
    /// pictures of a page are found relative to the page's own file.
    void Constructor(const std::string& language);

    /// The wire colours the pages' colour legend shows, for every help window: a table cell
    /// coloured in one of the eight voltage colours of either palette takes that colour of
    /// `palette`. Recolours the shared window's page at once when there is one.
    static void ShowWirePalette(WirePalette palette);
    static WirePalette LegendPalette();

    /// Places the window beside `window` (right of it, else left of it) where the screen has
    /// room for it, and otherwise over it; never at the screen's corner.
    void PlaceBeside(const QWidget& window);

    /// The browser, or nullptr when it could not be made.
    QTextBrowser* browser() const { return browser_; }
    /// The label "Loading..." under the browser.
    QLabel* labLoading() const { return labLoading_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    /// Escape closes the window.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FitBrowser();
    /// Gives the colour legend of the page shown the colours of LegendPalette().
    void ColourLegend();

    QLabel* labLoading_;
    QTextBrowser* browser_ = nullptr;
};
