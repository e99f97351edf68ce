#include "app/measure/CsvTrace.h"

#include "app/measure/DecimalText.h"

namespace {

constexpr char kSeparator = ';';
constexpr const char* kRowEnd = "\r\n";

std::string Field(const std::string& text) {
    if (text.find_first_of(";\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return quoted + "\"";
}

} // namespace

CsvTrace::CsvTrace(std::vector<std::string> names) : columns_(names.size()) {
    text_ = "tijd (s)";
    for (const std::string& naam : names) {
        text_ += kSeparator + Field(naam);
    }
    text_ += kRowEnd;
}

void CsvTrace::Step(std::int64_t milliseconds, const std::vector<SocketReading>& readings) {
    text_ += DecimalText::Seconds(milliseconds, ',');
    for (std::size_t i = 0; i < columns_; ++i) {
        text_ += kSeparator;
        if (i < readings.size() && readings[i]) {
            text_ += DecimalText::Volts(*readings[i], ',');
        }
    }
    text_ += kRowEnd;
}
