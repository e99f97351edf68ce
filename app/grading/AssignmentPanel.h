#pragma once
// The assignment beside the board in the window: its title and explanation, and the checks
// run on a copy of the board the pupil has built.

#include "app/assignments/Assignment.h"
#include "app/assignments/AssignmentResult.h"

#include <QDockWidget>
#include <optional>
#include <string>

class FORM1;
class QAction;
class QLabel;
class QListWidget;
class QPushButton;

/// A dock on the right of `form` (hidden until an assignment is open). It adds two items to
/// the form's "Bestand" menu, after "Openen": "Opdracht openen…", which asks for a
/// `.tvo` through the Prompter and shows its title and explanation (a malformed file is
/// reported and the open assignment stays), and "Controleer" (F5), which grades
/// FORM1::Snapshot() on a separate hidden board and lists each check with ✓ or ✗, its
/// points and, for a failed check that is not hidden, its hint. The board in the window is
/// never touched.
class AssignmentPanel : public QDockWidget {
    Q_OBJECT

public:
    explicit AssignmentPanel(FORM1& form);

    /// Reads and shows the assignment at `path`; false, with the reason told to the user,
    /// when it cannot be read.
    bool OpenAssignment(const std::string& path);
    /// The open assignment, if any.
    const std::optional<Assignment>& Current() const { return assignment_; }
    /// The result the last "Controleer" showed.
    const std::optional<AssignmentResult>& LastResult() const { return result_; }
    /// Each line the result list shows, in order.
    QStringList ResultLines() const;

public slots:
    void mnuOpdrachtOpenen_Click();
    void mnuControleer_Click();

private:
    FORM1& form_;
    QAction* mnuOpdrachtOpenen_ = nullptr;
    QAction* mnuControleer_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* explanation_ = nullptr;
    QPushButton* check_ = nullptr;
    QLabel* mark_ = nullptr;
    QListWidget* results_ = nullptr;
    std::optional<Assignment> assignment_;
    std::optional<AssignmentResult> result_;
};
