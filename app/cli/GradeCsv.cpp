#include "app/cli/GradeCsv.h"

#include "app/cli/GradeJson.h"

std::string GradeCsv::Field(std::string_view text) {
    const bool quote = text.find_first_of(";\"\r\n") != std::string_view::npos ||
                       (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quote) {
        return std::string(text);
    }
    std::string field = "\"";
    for (const char c : text) {
        field += c;
        if (c == '"') {
            field += '"';
        }
    }
    return field + "\"";
}

std::string GradeCsv::Text(const Assignment& assignment, const std::vector<GradedBoard>& boards) {
    std::string csv = "\xEF\xBB\xBFleerling;bestand;punten;max;cijfer";
    for (const AssignmentCheck& check : assignment.checks) {
        csv += ";" + Field(check.name);
    }
    csv += "\r\n";
    const std::string max = std::to_string(assignment.MaxPoints());
    for (const GradedBoard& board : boards) {
        csv += Field(board.Pupil()) + ";" + Field(board.file) + ";";
        if (!board.Ok()) {
            csv += ";" + max + ";" + std::string(assignment.checks.size(), ';') + "\r\n";
            continue;
        }
        const AssignmentResult& result = board.result;
        csv += std::to_string(result.points) + ";" + max + ";" +
               GradeJson::Mark(result.GradeTenths(), ',');
        for (const AssignmentCheckResult& check : result.checks) {
            csv += ";" + std::to_string(check.points);
        }
        csv += "\r\n";
    }
    return csv;
}
