#pragma once
// One pupil's board as grading saw it: read or not, what it earned, its wires and picture.

#include "app/assignments/AssignmentResult.h"

#include <cctype>
#include <set>
#include <string>
#include <utility>

struct GradedBoard {
    /// The path as given.
    std::string file;
    /// Empty when the board was read and graded; else the Dutch reason it was not.
    std::string error;
    AssignmentResult result;
    /// The wires as unordered pairs of socket names (the smaller name first), so that boards
    /// wired alike in any order or direction have equal sets.
    std::set<std::pair<std::string, std::string>> wires;
    /// The board as --render draws it, as PNG bytes; empty when none was made.
    std::string png;

    bool Ok() const { return error.empty(); }
    /// The pupil's name: the file name without its folder and without ".tvb" (in any case).
    std::string Pupil() const {
        std::string naam = file.substr(file.find_last_of('/') + 1);
        if (naam.size() > 4) {
            std::string end = naam.substr(naam.size() - 4);
            for (char& c : end) {
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            }
            if (end == ".tvb") {
                naam.resize(naam.size() - 4);
            }
        }
        return naam;
    }
};
