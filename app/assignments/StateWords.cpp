#include "app/assignments/StateWords.h"

#include <algorithm>
#include <charconv>

std::optional<std::int32_t> StateWords::Whole(std::string_view text) {
    std::int32_t value = 0;
    if (text.empty() || text.front() < '0' || text.front() > '9') {
        return std::nullopt;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int32_t> StateWords::Fixed(std::string_view text, int decimals) {
    const std::size_t mark = text.find_first_of(",.");
    const std::string_view fraction =
        mark == std::string_view::npos ? std::string_view() : text.substr(mark + 1);
    if ((mark != std::string_view::npos && fraction.empty()) ||
        static_cast<int>(fraction.size()) > decimals ||
        !std::all_of(fraction.begin(), fraction.end(),
                     [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    const std::optional<std::int32_t> units = Whole(text.substr(0, mark));
    if (!units || *units > 100000) {
        return std::nullopt;
    }
    std::int32_t value = *units;
    for (int k = 0; k < decimals; ++k) {
        value = value * 10 + (k < static_cast<int>(fraction.size()) ? fraction[k] - '0' : 0);
    }
    return value;
}

std::optional<std::int32_t> StateWords::Volts(std::string_view text) {
    if (text.empty() || text.back() != 'V') {
        return std::nullopt;
    }
    text.remove_suffix(1);
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    const std::optional<std::int32_t> tenths = Fixed(text, 1);
    if (!tenths || *tenths > 50) {
        return std::nullopt;
    }
    return tenths;
}

std::optional<std::int32_t> StateWords::OnOff(std::string_view text) {
    if (text == "aan") {
        return 1;
    }
    if (text == "uit") {
        return 0;
    }
    return std::nullopt;
}

std::optional<std::int32_t> StateWords::SensorMode(std::string_view text) {
    if (text == "donker") {
        return 0;
    }
    if (text == "lamp") {
        return 1;
    }
    if (text == "wisselend") {
        return 2;
    }
    return std::nullopt;
}
