#pragma once
// A file that records, step by step, the values of chosen sockets: the common face of the CSV
// and the value change dump.

#include "app/measure/SocketReading.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TraceWriter {
public:
    enum class Format { Csv, Vcd };

    virtual ~TraceWriter() = default;

    /// Records one step at `milliseconds` (later than the step before), with one reading per
    /// socket in the order the sockets were given.
    virtual void Step(std::int64_t milliseconds, const std::vector<SocketReading>& readings) = 0;
    /// The whole file for the steps recorded so far.
    virtual std::string Text() const = 0;

    /// The format a file name asks for by its extension (".csv" or ".vcd", in any case);
    /// nullopt for any other name.
    static std::optional<Format> FormatOf(std::string_view path);
    /// A writer of `format` for the sockets `names`, in that order.
    static std::unique_ptr<TraceWriter> Make(Format format, std::vector<std::string> names);
};
