#include "app/simulation/clsGraph2.h"

#include "app/simulation/clsSnaps.h"

#include <algorithm>
#include <string_view>
#include <vector>

std::string clsGraph2::Check(BoardWires& lines, const clsSnaps& snaps) const {
    for (BoardWire& w : lines) {
        w.done = false;
    }
    std::string result;
    for (BoardWire& w : lines) {
        if (w.done) {
            continue;
        }
        std::string group = w.naam1 + "|" + w.naam2;
        w.done = true;
        group += "|";
        group += Check2(lines, w.naam1);
        group += "|";
        group += Check2(lines, w.naam2);

        std::vector<std::string_view> outputs;
        std::string_view rest = group;
        while (true) {
            const std::size_t bar = rest.find('|');
            const std::string_view item = rest.substr(0, bar);
            if (snaps.GetSoortbyName(item) == 2 &&
                std::find(outputs.begin(), outputs.end(), item) == outputs.end()) {
                outputs.push_back(item);
            }
            if (bar == std::string_view::npos) {
                break;
            }
            rest.remove_prefix(bar + 1);
        }

        if (outputs.size() >= 2) {
            for (std::size_t i = 0; i < outputs.size(); ++i) {
                if (i > 0) {
                    result += " en ";
                }
                result += '"';
                result += outputs[i];
                result += '"';
            }
            result += "\r\n";
        }
    }
    return result;
}

std::string clsGraph2::Check2(BoardWires& lines, const std::string& puntnaam) const {
    // The walk is a recursion in which a nested walk appends "|" and then its own result to
    // the caller's. Writing every piece to one string in the same order gives the same text,
    // and the explicit stack keeps long chains of wires off the call stack.
    enum class Step { First, Second, Next };
    struct Frame {
        const std::string* naam;
        std::size_t wire;
        Step step;
    };

    std::string r;
    std::vector<Frame> stack{{&puntnaam, 0, Step::First}};
    while (!stack.empty()) {
        Frame& f = stack.back();
        if (f.wire >= lines.size()) {
            stack.pop_back();
            continue;
        }
        BoardWire& w = lines[f.wire];
        const std::string& naam = *f.naam;
        if (f.step == Step::First) {
            // A wire already marked when the walk reaches it is skipped altogether.
            if (w.done) {
                ++f.wire;
                continue;
            }
            f.step = Step::Second;
            if (w.naam1 == naam) {
                r += '|';
                r += w.naam2;
                w.done = true;
                r += '|';
                stack.push_back({&w.naam2, 0, Step::First});
                continue;
            }
        }
        if (f.step == Step::Second) {
            f.step = Step::Next;
            if (w.naam2 == naam) {
                r += '|';
                r += w.naam1;
                w.done = true;
                r += '|';
                stack.push_back({&w.naam1, 0, Step::First});
                continue;
            }
        }
        f.step = Step::First;
        ++f.wire;
    }
    return r;
}
