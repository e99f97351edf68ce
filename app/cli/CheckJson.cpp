#include "app/cli/CheckJson.h"

#include <cstdint>
#include <cstdio>

namespace {

/// Length of the valid UTF-8 sequence at the start of `text`, 0 when there is none.
std::size_t Utf8Length(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    std::uint32_t code = 0;
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (byte(i) & 0x3F);
    }
    // Overlong forms, surrogates and code points beyond Unicode are no UTF-8.
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    if (overlong || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
        return 0;
    }
    return length;
}

std::string Bool(bool value) {
    return value ? "true" : "false";
}

} // namespace

std::string CheckJson::String(std::string_view text) {
    std::string json = "\"";
    while (!text.empty()) {
        const std::size_t length = Utf8Length(text);
        if (length == 0) {
            json += "\\ufffd";
            text.remove_prefix(1);
            continue;
        }
        const char c = text.front();
        if (length > 1) {
            json.append(text.substr(0, length));
        } else if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (c == '\n') {
            json += "\\n";
        } else if (c == '\r') {
            json += "\\r";
        } else if (c == '\t') {
            json += "\\t";
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
            json += escaped;
        } else {
            json += c;
        }
        text.remove_prefix(length);
    }
    return json + "\"";
}

std::string CheckJson::Line(std::string_view file, const CheckBoard::Outcome& outcome) {
    std::string json = "{\"file\":" + String(file) + ",\"ok\":true,\"leds\":[";
    for (std::size_t k = 0; k < outcome.leds.size(); ++k) {
        json += (k == 0 ? "" : ",") + Bool(outcome.leds[k]);
    }
    json += "],\"buzzer\":" + Bool(outcome.buzzer);
    json += ",\"display\":" + std::to_string(outcome.display);
    json += ",\"conflict\":" + String(outcome.conflict);
    json += ",\"wires\":[";
    for (std::size_t i = 0; i < outcome.wires.size(); ++i) {
        const CheckBoard::Outcome::Wire& wire = outcome.wires[i];
        json += (i == 0 ? "{\"from\":" : ",{\"from\":") + String(wire.from) +
                ",\"to\":" + String(wire.to) + ",\"colour\":" + std::to_string(wire.colour) + "}";
    }
    json += "],\"values\":{";
    for (std::size_t i = 0; i < outcome.values.size(); ++i) {
        json += (i == 0 ? "" : ",") + String(outcome.values[i].first) + ":" +
                std::to_string(outcome.values[i].second);
    }
    return json + "}}";
}

std::string CheckJson::ErrorLine(std::string_view file, std::string_view error) {
    return "{\"file\":" + String(file) + ",\"ok\":false,\"error\":" + String(error) + "}";
}
