#include "app/cli/GradeJson.h"

#include "app/cli/CheckJson.h"

std::string GradeJson::Mark(std::int32_t tenths, char separator) {
    return std::to_string(tenths / 10) + separator + std::to_string(tenths % 10);
}

std::string GradeJson::Line(const GradedBoard& board) {
    if (!board.Ok()) {
        return CheckJson::ErrorLine(board.file, board.error);
    }
    const AssignmentResult& result = board.result;
    std::string json = "{\"file\":" + CheckJson::String(board.file) + ",\"ok\":true";
    json += ",\"points\":" + std::to_string(result.points);
    json += ",\"max\":" + std::to_string(result.max);
    json += ",\"grade\":" + Mark(result.GradeTenths(), '.');
    json += ",\"checks\":[";
    for (std::size_t i = 0; i < result.checks.size(); ++i) {
        const AssignmentCheckResult& check = result.checks[i];
        json += (i == 0 ? "{\"name\":" : ",{\"name\":") + CheckJson::String(check.name);
        json += ",\"passed\":" + std::string(check.passed ? "true" : "false");
        json += ",\"points\":" + std::to_string(check.points);
        if (!check.passed && !check.hidden) {
            json += ",\"failures\":[";
            for (std::size_t f = 0; f < check.failures.size(); ++f) {
                const AssignmentFailure& failure = check.failures[f];
                json += (f == 0 ? "{\"run\":" : ",{\"run\":") + CheckJson::String(failure.run);
                json += ",\"line\":" + std::to_string(failure.line);
                json += ",\"expected\":" + CheckJson::String(failure.expected);
                json += ",\"got\":" + CheckJson::String(failure.got) + "}";
            }
            json += "],\"hint\":" + CheckJson::String(check.hint);
        }
        json += "}";
    }
    return json + "]}";
}
