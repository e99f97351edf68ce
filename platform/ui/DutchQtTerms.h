#pragma once
// The few words of Qt's own dialogs that Qt's Dutch translations leave English, such as the
// type "Folder" in the file dialog's list.

#include <QTranslator>

/// A translator for those words only; every other text is left to the translators installed
/// before it. Install it after Qt's own translator, so that it is asked first.
class DutchQtTerms : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override;
    bool isEmpty() const override { return false; }
};
