#include "app/cli/GradeHtml.h"

#include "app/cli/GradeJson.h"

#include <QByteArray>
#include <map>

namespace {

constexpr const char* kStyle =
    "body{font-family:sans-serif;margin:2em;color:#222}"
    "table{border-collapse:collapse;margin:1em 0}"
    "td,th{border:1px solid #bbb;padding:.3em .6em;text-align:left}"
    "section{border-top:2px solid #888;margin-top:2em;padding-top:1em;overflow:hidden}"
    "section img{float:right;margin-left:1em;border:1px solid #888;max-width:50%}"
    ".goed{color:#070}.fout{color:#b00}.kopie{background:#fde;padding:.4em}"
    ".hint{color:#555;font-style:italic}.mark{font-size:1.6em;font-weight:bold}";

std::string Base64(const std::string& bytes) {
    const QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return data.toBase64().toStdString();
}

} // namespace

std::string GradeHtml::Escape(std::string_view text) {
    std::string html;
    html.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            html += "&amp;";
            break;
        case '<':
            html += "&lt;";
            break;
        case '>':
            html += "&gt;";
            break;
        case '"':
            html += "&quot;";
            break;
        case '\'':
            html += "&#39;";
            break;
        default:
            html += c;
        }
    }
    return html;
}

std::vector<std::vector<std::size_t>> GradeHtml::Copies(const std::vector<GradedBoard>& boards) {
    std::map<std::set<std::pair<std::string, std::string>>, std::vector<std::size_t>> byWires;
    for (std::size_t i = 0; i < boards.size(); ++i) {
        if (boards[i].Ok() && !boards[i].wires.empty()) {
            byWires[boards[i].wires].push_back(i);
        }
    }
    std::vector<std::vector<std::size_t>> copies(boards.size());
    for (const auto& [wires, group] : byWires) {
        for (const std::size_t i : group) {
            for (const std::size_t j : group) {
                if (j != i) {
                    copies[i].push_back(j);
                }
            }
        }
    }
    return copies;
}

std::string GradeHtml::Page(const Assignment& assignment, const std::vector<GradedBoard>& boards) {
    const auto copies = Copies(boards);
    std::string html = "<!DOCTYPE html>\n<html lang=\"nl\"><head><meta charset=\"utf-8\">"
                       "<title>Opdracht: " +
                       Escape(assignment.title) + "</title><style>" + kStyle +
                       "</style></head><body>\n";
    html += "<h1>Opdracht: " + Escape(assignment.title) + "</h1>\n";
    if (!assignment.explanation.empty()) {
        html += "<p>" + Escape(assignment.explanation) + "</p>\n";
    }

    std::size_t graded = 0;
    for (const GradedBoard& board : boards) {
        graded += board.Ok() ? 1 : 0;
    }
    html += "<h2>Per toets</h2>\n<table><tr><th>Toets</th><th>Punten</th><th>Geslaagd</th></tr>\n";
    for (std::size_t c = 0; c < assignment.checks.size(); ++c) {
        std::size_t passed = 0;
        for (const GradedBoard& board : boards) {
            passed += board.Ok() && board.result.checks[c].passed ? 1 : 0;
        }
        const AssignmentCheck& check = assignment.checks[c];
        html += "<tr><td>" + Escape(check.name) + (check.hidden ? " (verborgen)" : "") +
                "</td><td>" + std::to_string(check.points) + "</td><td>" + std::to_string(passed) +
                " van " + std::to_string(graded) + "</td></tr>\n";
    }
    html += "</table>\n";

    bool anyCopy = false;
    for (std::size_t i = 0; i < boards.size(); ++i) {
        // Each group once, from its first board.
        if (copies[i].empty() || copies[i].front() < i) {
            continue;
        }
        if (!anyCopy) {
            html += "<h2>Dezelfde verbindingen (mogelijk overgenomen)</h2>\n<ul>\n";
            anyCopy = true;
        }
        html += "<li>" + Escape(boards[i].Pupil());
        for (const std::size_t j : copies[i]) {
            html += ", " + Escape(boards[j].Pupil());
        }
        html += "</li>\n";
    }
    if (anyCopy) {
        html += "</ul>\n";
    }

    html += "<h2>Per leerling</h2>\n";
    for (std::size_t i = 0; i < boards.size(); ++i) {
        const GradedBoard& board = boards[i];
        html += "<section><h3>" + Escape(board.Pupil()) + "</h3>\n";
        if (!board.png.empty()) {
            html += "<img alt=\"bord van " + Escape(board.Pupil()) +
                    "\" src=\"data:image/png;base64," + Base64(board.png) + "\">\n";
        }
        html += "<p>Bestand: " + Escape(board.file) + "</p>\n";
        if (!board.Ok()) {
            html +=
                "<p class=\"fout\">Niet beoordeeld: " + Escape(board.error) + "</p></section>\n";
            continue;
        }
        const AssignmentResult& result = board.result;
        html += "<p><span class=\"mark\">" + GradeJson::Mark(result.GradeTenths(), ',') +
                "</span> (" + std::to_string(result.points) + " van " + std::to_string(result.max) +
                " punten)</p>\n";
        if (!copies[i].empty()) {
            html += "<p class=\"kopie\">Dezelfde verbindingen als ";
            for (std::size_t k = 0; k < copies[i].size(); ++k) {
                html += (k == 0 ? "" : ", ") + Escape(boards[copies[i][k]].Pupil());
            }
            html += " (mogelijk overgenomen)</p>\n";
        }
        html += "<ul>\n";
        for (const AssignmentCheckResult& check : result.checks) {
            html += check.passed ? "<li class=\"goed\">&#10003; " : "<li class=\"fout\">&#10007; ";
            html += Escape(check.name) + ": " + std::to_string(check.points) + " van " +
                    std::to_string(check.max) + (check.max == 1 ? " punt" : " punten");
            if (check.hidden) {
                html += " (verborgen)";
            } else if (!check.passed) {
                html += "<ul>";
                for (const AssignmentFailure& failure : check.failures) {
                    html += "<li>" + (failure.run.empty() ? "" : Escape(failure.run) + ": ") +
                            "verwacht " + Escape(failure.expected) + ", gekregen " +
                            Escape(failure.got) + "</li>";
                }
                html += "</ul>";
                if (!check.hint.empty()) {
                    html += "<span class=\"hint\">Hint: " + Escape(check.hint) + "</span>";
                }
            }
            html += "</li>\n";
        }
        html += "</ul></section>\n";
    }
    return html + "</body></html>\n";
}
