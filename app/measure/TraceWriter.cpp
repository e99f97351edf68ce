#include "app/measure/TraceWriter.h"

#include "app/measure/CsvTrace.h"
#include "app/measure/VcdTrace.h"

#include <algorithm>
#include <cctype>

std::optional<TraceWriter::Format> TraceWriter::FormatOf(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return std::nullopt;
    }
    std::string extension(path.substr(dot + 1));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == "csv") {
        return Format::Csv;
    }
    if (extension == "vcd") {
        return Format::Vcd;
    }
    return std::nullopt;
}

std::unique_ptr<TraceWriter> TraceWriter::Make(Format format, std::vector<std::string> names) {
    if (format == Format::Csv) {
        return std::make_unique<CsvTrace>(std::move(names));
    }
    return std::make_unique<VcdTrace>(std::move(names));
}
