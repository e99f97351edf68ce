#pragma once

#include <stdexcept>

/// A file that is no assignment: the message names the file, the line and what was expected,
/// in Dutch ("opdracht.tvo:12: onbekende naam \"LED 9\"").
class AssignmentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
