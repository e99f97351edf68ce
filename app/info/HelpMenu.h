#pragma once
// The commands of the main window's Help menu.

class QWidget;

class HelpMenu {
public:
    /// The product's web site, shown and opened by ShowWebsite.
    static constexpr const char* WebsiteAddress = "https://github.com/tavsim/tavsim#readme";

    /// "Info": shows the information window modally over `parent` (may be nullptr) and
    /// returns when the user has closed it.
    static void ShowInfo(QWidget* parent);
    /// "Uitleg": shows the shared help window with the Dutch help page, without waiting,
    /// beside or over `window` when one is given. Asking again brings the same window forward
    /// and shows the page afresh.
    static void ShowHelp(const QWidget* window = nullptr);
    /// "Op internet: Over Tavelon": tells the user (title "Tavelon Simulator") which web site
    /// the computer will try to open, then opens it with OpenURL. Returns what OpenURL
    /// returned.
    static bool ShowWebsite();
};
