#pragma once
// Reads an assignment file (".tvo", UTF-8 text with Dutch keywords) into an Assignment.

#include "app/assignments/Assignment.h"
#include "app/assignments/AssignmentError.h"

#include <string>
#include <string_view>

/// The assignment language. Per line, after removing what follows a `#` and blank lines:
///   opdracht: TITEL            uitleg: TEKST (more lines are joined)
///   toets: NAAM                punten: N (1 to 1000, default 1)
///   hint: TEKST                verborgen
///   tabel: IN | IN => UIT | UIT, then one row per line: WAARDE | WAARDE => WAARDE | WAARDE
///   zet NAAM = WAARDE          druk NAAM
///   wacht N stappen            wacht T s (a whole number of 10 ms steps)
///   verwacht NAAM = WAARDE [± TOLERANTIE]
///   verwacht NAAM wisselt N [tot M] keer (changes during the last wacht)
/// Values: aan/uit (push buttons, LED 1 to 4, Zoemer), donker/lamp/wisselend (sensors), a
/// voltage with its unit ("3,5 V" or "3.5V", 0 to 5 V, at most one decimal) for the knobs and
/// sockets, "geen waarde" for a socket without a value, 0 to 9 for Display, 0 to 50 for Geluid,
/// and x ("don't care") in a table. A table row sets its inputs, waits 20 steps and checks its
/// outputs.
class AssignmentParser {
public:
    /// Steps a table row waits between setting its inputs and reading its outputs.
    static constexpr std::int32_t kTableRowSteps = 20;
    /// Steps per second of the board's tick.
    static constexpr std::int32_t kStepsPerSecond = 100;

    /// Parses `text`; `fileName` names the file in messages. Throws AssignmentError.
    static Assignment Parse(std::string_view text, const std::string& fileName);
    /// Reads and parses the file at `path`. Throws AssignmentError, also when the file cannot
    /// be read.
    static Assignment Load(const std::string& path);
};
