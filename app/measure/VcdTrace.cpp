#include "app/measure/VcdTrace.h"

#include "app/measure/DecimalText.h"

#include <set>

namespace {

constexpr char kFirstCode = '!';
constexpr char kLastCode = '~';
constexpr std::size_t kCodeCount = kLastCode - kFirstCode + 1;

bool Plain(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

/// `wanted`, or with "_2", "_3", … the first that is not yet in `taken`; then taken.
std::string Unique(const std::string& wanted, std::set<std::string>& taken) {
    std::string reference = wanted;
    for (int n = 2; taken.count(reference) != 0; ++n) {
        reference = wanted + "_" + std::to_string(n);
    }
    taken.insert(reference);
    return reference;
}

} // namespace

VcdTrace::VcdTrace(std::vector<std::string> names)
    : names_(std::move(names)), last_(names_.size()), lacked_(names_.size(), false) {}

std::string VcdTrace::Reference(const std::string& naam) {
    std::string reference;
    bool gap = false;
    for (char c : naam) {
        if (!Plain(c)) {
            gap = true;
            continue;
        }
        if (gap && !reference.empty()) {
            reference += '_';
        }
        gap = false;
        reference += c;
    }
    if (reference.empty() || (reference[0] >= '0' && reference[0] <= '9')) {
        reference.insert(reference.begin(), '_');
    }
    return reference;
}

std::string VcdTrace::Code(std::size_t index) {
    std::string code;
    do {
        code += static_cast<char>(kFirstCode + index % kCodeCount);
        index /= kCodeCount;
    } while (index-- > 0);
    return code;
}

void VcdTrace::Step(std::int64_t milliseconds, const std::vector<SocketReading>& readings) {
    lastMilliseconds_ = milliseconds;
    Frame frame{milliseconds, {}};
    const bool first = frames_.empty();
    for (std::size_t i = 0; i < names_.size(); ++i) {
        const SocketReading reading = i < readings.size() ? readings[i] : std::nullopt;
        if (first || reading != last_[i]) {
            frame.changes.push_back({i, reading});
        }
        last_[i] = reading;
        if (!reading) {
            lacked_[i] = true;
        }
    }
    if (!frame.changes.empty()) {
        frames_.push_back(std::move(frame));
    }
}

std::string VcdTrace::Text() const {
    std::string text = "$version tavsim $end\n"
                       "$comment Spanningen in volt, per stap van 10 ms. $end\n"
                       "$timescale 1 ms $end\n"
                       "$scope module bord $end\n";
    std::set<std::string> taken;
    std::vector<std::string> realCode(names_.size());
    std::vector<std::string> knownCode(names_.size());
    std::size_t codes = 0;
    for (std::size_t i = 0; i < names_.size(); ++i) {
        const std::string reference = Unique(Reference(names_[i]), taken);
        realCode[i] = Code(codes++);
        text += "$comment " + reference + ": " + names_[i] + " $end\n";
        text += "$var real 64 " + realCode[i] + " " + reference + " $end\n";
        if (lacked_[i]) {
            knownCode[i] = Code(codes++);
            text += "$var wire 1 " + knownCode[i] + " " + Unique(reference + "_bekend", taken) +
                    " $end\n";
        }
    }
    text += "$upscope $end\n$enddefinitions $end\n";

    // The value each real variable was last given, to write a value again only when it
    // differs after a step without one.
    std::vector<SocketReading> written(names_.size());
    std::vector<bool> known(names_.size(), false);
    for (std::size_t f = 0; f < frames_.size(); ++f) {
        const Frame& frame = frames_[f];
        text += "#" + std::to_string(frame.milliseconds) + "\n";
        if (f == 0) {
            text += "$dumpvars\n";
        }
        for (const Change& change : frame.changes) {
            const std::size_t i = change.socket;
            if (lacked_[i] && (f == 0 || change.reading.has_value() != known[i])) {
                text += (change.reading ? "1" : "0") + knownCode[i] + "\n";
            }
            known[i] = change.reading.has_value();
            if (change.reading && change.reading != written[i]) {
                text += "r" + DecimalText::Volts(*change.reading, '.') + " " + realCode[i] + "\n";
                written[i] = change.reading;
            }
        }
        if (f == 0) {
            text += "$end\n";
        }
    }
    if (!frames_.empty() && lastMilliseconds_ > frames_.back().milliseconds) {
        text += "#" + std::to_string(lastMilliseconds_) + "\n";
    }
    return text;
}
