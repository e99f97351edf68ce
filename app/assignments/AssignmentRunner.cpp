#include "app/assignments/AssignmentRunner.h"

#include "app/assignments/GradingBoard.h"
#include "app/simulation/VoltText.h"

#include <cstdlib>
#include <map>
#include <optional>

namespace {

using Kind = AssignmentStep::Kind;

/// What an expectation reads, as a number: a lamp or the buzzer 0/1, the digit, a socket's
/// tenths of a volt; none for a socket without a value.
std::optional<std::int32_t> Read(const AssignmentStep& step, const GradingBoard& board) {
    switch (step.target) {
    case AssignmentTarget::Led:
        return board.Led(step.naam.back() - '0') ? 1 : 0;
    case AssignmentTarget::Buzzer:
        return board.Buzzer() ? 1 : 0;
    case AssignmentTarget::Display:
        return board.Display();
    default:
        return board.Value(step.naam);
    }
}

std::string Shown(const AssignmentStep& step, std::optional<std::int32_t> value) {
    switch (step.target) {
    case AssignmentTarget::Led:
    case AssignmentTarget::Buzzer:
        return *value != 0 ? "aan" : "uit";
    case AssignmentTarget::Display:
        return std::to_string(*value);
    default:
        return value ? VoltText(*value) : "geen waarde";
    }
}

bool Holds(const AssignmentStep& step, std::optional<std::int32_t> value) {
    if (step.noValue) {
        return !value;
    }
    return value && std::abs(*value - step.value) <= step.tolerance;
}

void Operate(const AssignmentStep& step, GradingBoard& board) {
    if (step.kind == Kind::Press) {
        board.Press(step.naam);
        return;
    }
    switch (step.target) {
    case AssignmentTarget::PushButton:
        board.SetPushButton(step.naam, step.value != 0);
        break;
    case AssignmentTarget::Sensor:
        board.SetSensor(step.naam, step.value);
        break;
    case AssignmentTarget::Knob:
        board.SetKnob(step.naam, step.value);
        break;
    default:
        board.SetSound(step.value);
        break;
    }
}

} // namespace

AssignmentCheckResult AssignmentRunner::Run(const AssignmentCheck& check, GradingBoard& board) {
    AssignmentCheckResult result;
    result.name = check.name;
    result.max = check.points;
    result.hint = check.hint;
    result.hidden = check.hidden;
    for (const AssignmentRun& run : check.runs) {
        board.Reset();
        // Changes of each "wisselt" target during the last wait, by its step's place.
        std::map<std::size_t, std::int32_t> changes;
        for (std::size_t s = 0; s < run.steps.size(); ++s) {
            const AssignmentStep& step = run.steps[s];
            if (step.kind == Kind::Set || step.kind == Kind::Press) {
                Operate(step, board);
            } else if (step.kind == Kind::Wait) {
                // The targets counted are those the expectations up to the next wait ask for.
                changes.clear();
                std::map<std::size_t, std::optional<std::int32_t>> last;
                for (std::size_t e = s + 1; e < run.steps.size() && run.steps[e].kind != Kind::Wait;
                     ++e) {
                    if (run.steps[e].changesAtLeast) {
                        changes[e] = 0;
                        last[e] = Read(run.steps[e], board);
                    }
                }
                for (std::int32_t k = 0; k < step.value; ++k) {
                    board.Step();
                    for (auto& [e, value] : last) {
                        const std::optional<std::int32_t> now = Read(run.steps[e], board);
                        if (now != value) {
                            ++changes[e];
                            value = now;
                        }
                    }
                }
            } else if (step.changesAtLeast) {
                const std::int32_t n = changes[s];
                if (n < *step.changesAtLeast || n > *step.changesAtMost) {
                    result.failures.push_back({run.label, step.line, step.text,
                                               "wisselt " + std::to_string(n) + " keer"});
                }
            } else if (const std::optional<std::int32_t> value = Read(step, board);
                       !Holds(step, value)) {
                result.failures.push_back({run.label, step.line, step.text, Shown(step, value)});
            }
        }
    }
    result.passed = result.failures.empty();
    result.points = result.passed ? check.points : 0;
    return result;
}

AssignmentResult AssignmentRunner::Grade(const Assignment& assignment, GradingBoard& board) {
    AssignmentResult result;
    for (const AssignmentCheck& check : assignment.checks) {
        result.checks.push_back(Run(check, board));
        result.points += result.checks.back().points;
        result.max += check.points;
    }
    return result;
}
