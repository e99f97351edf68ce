#include "app/grading/AssignmentPanel.h"

#include "app/assignments/AssignmentError.h"
#include "app/assignments/AssignmentParser.h"
#include "app/assignments/AssignmentRunner.h"
#include "app/board/FORM1.h"
#include "app/cli/GradeJson.h"
#include "app/cli/ModelGradingBoard.h"
#include "app/components/PictureLoader.h"
#include "platform/ui/Prompter.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QString PointsText(std::int32_t points, std::int32_t max) {
    return QString("%1 van %2 %3").arg(points).arg(max).arg(max == 1 ? "punt" : "punten");
}

} // namespace

AssignmentPanel::AssignmentPanel(FORM1& form)
    : QDockWidget(QString::fromUtf8("Opdracht"), &form), form_(form) {
    setObjectName("AssignmentPanel");
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    auto* inside = new QWidget(this);
    auto* layout = new QVBoxLayout(inside);
    title_ = new QLabel(inside);
    title_->setObjectName("AssignmentTitle");
    title_->setWordWrap(true);
    QFont bold = title_->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    title_->setFont(bold);
    explanation_ = new QLabel(inside);
    explanation_->setObjectName("AssignmentExplanation");
    explanation_->setWordWrap(true);
    explanation_->setTextFormat(Qt::PlainText);
    title_->setTextFormat(Qt::PlainText);
    check_ = new QPushButton(QString::fromUtf8("Controleer (F5)"), inside);
    check_->setObjectName("AssignmentCheck");
    mark_ = new QLabel(inside);
    mark_->setObjectName("AssignmentMark");
    mark_->setTextFormat(Qt::PlainText);
    results_ = new QListWidget(inside);
    results_->setObjectName("AssignmentResults");
    results_->setWordWrap(true);
    layout->addWidget(title_);
    layout->addWidget(explanation_);
    layout->addWidget(check_);
    layout->addWidget(mark_);
    layout->addWidget(results_, 1);
    setWidget(inside);
    setMinimumWidth(280);
    connect(check_, &QPushButton::clicked, this, &AssignmentPanel::mnuControleer_Click);
    form.addDockWidget(Qt::RightDockWidgetArea, this);
    hide();

    // In the File menu after "Openen", so that the items below keep their places.
    auto* bestand = form.menuBar()->findChild<QMenu*>("mnuBestand");
    QAction* before = bestand != nullptr ? form.findChild<QAction*>("mnuBewaren") : nullptr;
    mnuOpdrachtOpenen_ = new QAction(QString::fromUtf8("Opdracht openen…"), &form);
    mnuOpdrachtOpenen_->setObjectName("mnuOpdrachtOpenen");
    mnuControleer_ = new QAction(QString::fromUtf8("Controleer"), &form);
    mnuControleer_->setObjectName("mnuControleer");
    mnuControleer_->setShortcut(QKeySequence(Qt::Key_F5));
    // The shortcut works while the dock has the focus, too.
    mnuControleer_->setShortcutContext(Qt::WindowShortcut);
    if (bestand != nullptr) {
        bestand->insertAction(before, mnuOpdrachtOpenen_);
        bestand->insertAction(before, mnuControleer_);
    } else {
        form.addAction(mnuOpdrachtOpenen_);
        form.addAction(mnuControleer_);
    }
    connect(mnuOpdrachtOpenen_, &QAction::triggered, this,
            &AssignmentPanel::mnuOpdrachtOpenen_Click);
    connect(mnuControleer_, &QAction::triggered, this, &AssignmentPanel::mnuControleer_Click);
}

void AssignmentPanel::mnuOpdrachtOpenen_Click() {
    const std::optional<std::string> path = Prompter::Current().OpenFileName(
        {"Opdracht openen", "Tavelon opdrachten (*.tvo)", PictureLoader::DataPath("/opdrachten")});
    if (path) {
        OpenAssignment(*path);
    }
}

bool AssignmentPanel::OpenAssignment(const std::string& path) {
    try {
        assignment_ = AssignmentParser::Load(path);
    } catch (const AssignmentError& error) {
        Prompter::Current().Message(std::string("Deze opdracht kan niet worden geopend: ") +
                                        error.what(),
                                    "Opdracht", Prompter::Buttons::Ok, Prompter::Icon::Error);
        return false;
    }
    result_.reset();
    title_->setText(Text(assignment_->title));
    explanation_->setText(Text(assignment_->explanation));
    mark_->clear();
    results_->clear();
    show();
    return true;
}

void AssignmentPanel::mnuControleer_Click() {
    if (!assignment_) {
        Prompter::Current().Message("Open eerst een opdracht (Bestand, Opdracht openen…).",
                                    "Controleer", Prompter::Buttons::Ok,
                                    Prompter::Icon::Information);
        return;
    }
    if (!form_.HasBoard()) {
        return;
    }
    const BoardDocument copy = form_.Snapshot();
    // A board model of its own: the window's board, its undo history and its timer are not
    // touched.
    ModelGradingBoard grading(copy);
    result_ = AssignmentRunner::Grade(*assignment_, grading);

    mark_->setText(QString("Cijfer: %1 (%2)")
                       .arg(Text(GradeJson::Mark(result_->GradeTenths(), ',')))
                       .arg(PointsText(result_->points, result_->max)));
    results_->clear();
    for (const AssignmentCheckResult& check : result_->checks) {
        QString line = QString::fromUtf8(check.passed ? "✓ " : "✗ ") + Text(check.name) + ": " +
                       PointsText(check.points, check.max);
        if (check.hidden) {
            line += " (verborgen)";
        } else if (!check.passed && !check.hint.empty()) {
            line += "\nHint: " + Text(check.hint);
        }
        auto* item = new QListWidgetItem(line, results_);
        item->setForeground(check.passed ? QColor(0, 110, 0) : QColor(170, 0, 0));
    }
    show();
}

QStringList AssignmentPanel::ResultLines() const {
    QStringList lines;
    for (int i = 0; i < results_->count(); ++i) {
        lines << results_->item(i)->text();
    }
    return lines;
}
