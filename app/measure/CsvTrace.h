#pragma once
// A trace as a Dutch spreadsheet opens it: fields separated by ';', numbers with a decimal
// comma, one row per step.

#include "app/measure/TraceWriter.h"

#include <string>
#include <vector>

/// The header row is "tijd (s)" and the socket names; each step's row holds its time in
/// seconds ("0,01") and each socket's value in volts ("3,5"), or an empty field when the
/// socket has no value in that step. Rows end in CR LF; a field holding ';', '"' or a line
/// break is quoted with its '"' doubled.
class CsvTrace : public TraceWriter {
public:
    explicit CsvTrace(std::vector<std::string> names);
    void Step(std::int64_t milliseconds, const std::vector<SocketReading>& readings) override;
    std::string Text() const override { return text_; }

private:
    std::size_t columns_;
    std::string text_;
};
