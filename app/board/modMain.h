#pragma once
// Small routines the main window and the other windows share.

#include "app/documents/DocumentPaths.h"

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

class modMain {
public:
    /// The text after the last "/" or "\" of `path`; the whole text when it has neither.
    static std::string FileTitle(std::string_view path) { return DocumentPaths::FileTitle(path); }

    /// True when `path` names a regular file that can be opened for reading; false on any
    /// error. Never blocks.
    static bool FileExists(const std::string& path) { return DocumentPaths::FileExists(path); }

    /// The largest element, scanning from the first to the last and keeping the first of
    /// equal ones. Throws std::out_of_range for an empty array.
    template <typename T> static T ArrayMax(std::span<const T> values) {
        return Pick(values, [](const T& candidate, const T& best) { return candidate > best; });
    }

    /// The smallest element, as ArrayMax.
    template <typename T> static T ArrayMin(std::span<const T> values) {
        return Pick(values, [](const T& candidate, const T& best) { return candidate < best; });
    }

private:
    template <typename T, typename Better> static T Pick(std::span<const T> values, Better better) {
        if (values.empty()) {
            throw std::out_of_range("ArrayMax/ArrayMin of an empty array");
        }
        T best = values.front();
        for (const T& v : values.subspan(1)) {
            if (better(v, best)) {
                best = v;
            }
        }
        return best;
    }
};
