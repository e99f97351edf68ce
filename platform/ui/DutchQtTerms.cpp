#include "platform/ui/DutchQtTerms.h"

#include <cstring>

namespace {

struct Term {
    const char* context;
    const char* source;
    const char* dutch;
};

// The kinds of entry the file dialog names in its "Type" column.
constexpr Term kTerms[] = {
    {"QAbstractFileIconProvider", "Folder", "Map"},
    {"QAbstractFileIconProvider", "Drive", "Station"},
    {"QAbstractFileIconProvider", "Shortcut", "Snelkoppeling"},
    {"QAbstractFileIconProvider", "Unknown", "Onbekend"},
};

} // namespace

QString DutchQtTerms::translate(const char* context, const char* sourceText,
                                const char* /*disambiguation*/, int /*n*/) const {
    if (context == nullptr || sourceText == nullptr) {
        return {};
    }
    for (const Term& term : kTerms) {
        if (std::strcmp(context, term.context) == 0 && std::strcmp(sourceText, term.source) == 0) {
            return QString::fromUtf8(term.dutch);
        }
    }
    return {};
}
