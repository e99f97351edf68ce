#include "platform/ui/QtPrompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {

QString ToQt(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

} // namespace

Prompter::Answer QtPrompter::Message(const std::string& text, const std::string& title,
                                     Buttons buttons, Icon icon) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(ToQt(title));
    QString body = ToQt(text);
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setText(body);
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    // Dutch captions on the buttons, whatever the system's language.
    if (auto* b = box.button(QMessageBox::Yes)) {
        b->setText(QStringLiteral("&Ja"));
    }
    if (auto* b = box.button(QMessageBox::No)) {
        b->setText(QStringLiteral("&Nee"));
    }
    if (auto* b = box.button(QMessageBox::Cancel)) {
        b->setText(QStringLiteral("Annuleren"));
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Ok:
        return Answer::Ok;
    default:
        // Closed with Escape or the window's close box.
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
}

std::optional<std::string> QtPrompter::OpenFileName(const FileRequest& request) {
    const QString name = QFileDialog::getOpenFileName(
        QApplication::activeWindow(), ToQt(request.title), ToQt(request.initialPath),
        ToQt(request.filter));
    if (name.isEmpty()) {
        return std::nullopt;
    }
    return name.toStdString();
}

std::optional<std::string> QtPrompter::SaveFileName(const FileRequest& request) {
    const QString name = QFileDialog::getSaveFileName(
        QApplication::activeWindow(), ToQt(request.title), ToQt(request.initialPath),
        ToQt(request.filter));
    if (name.isEmpty()) {
        return std::nullopt;
    }
    return name.toStdString();
}
