#pragma once
// The gradebook of --grade --csv, as a Dutch spreadsheet opens it without questions.

#include "app/assignments/Assignment.h"
#include "app/cli/GradedBoard.h"

#include <string>
#include <string_view>
#include <vector>

class GradeCsv {
public:
    /// UTF-8 with a byte-order mark, ";" between fields, lines ending in CR LF, decimal
    /// comma. The header "leerling;bestand;punten;max;cijfer;" and one column per check (its
    /// name), then one row per board in the order given: the pupil, the file, the points, the
    /// maximum, the mark and each check's points. A board that was not read has only its
    /// pupil, file and maximum.
    static std::string Text(const Assignment& assignment, const std::vector<GradedBoard>& boards);
    /// `text` as one field: quoted, with its quotes doubled, when it holds a ";", a quote, a
    /// line break or blanks at either end.
    static std::string Field(std::string_view text);
};
