#pragma once
// A trace as a value change dump (VCD) that waveform viewers such as GTKWave open.

#include "app/measure/TraceWriter.h"

#include <string>
#include <vector>

/// One `real` variable per socket, in volts, in the scope "bord", with a timescale of 1 ms;
/// only the changes are written, each at its step's time, and the time of the last step ends
/// the dump, so that a viewer shows the whole run. A socket name holds blanks, dots
/// and brackets, which a reference may not: the reference is the name with every run of
/// other characters than letters, digits and '_' made one '_' ("Var. Spanning Uit Geel" is
/// "Var_Spanning_Uit_Geel"), made unique with "_2", "_3", … when needed, and a `$comment`
/// before the variable gives the exact name.
///
/// A real variable cannot say "no value". A socket that has no value in some step gets a
/// second variable, a `wire` named after its reference with "_bekend", which is 1 in the
/// steps where the socket has a value and 0 where it has none; its real variable keeps its
/// last value meanwhile and is first written at the first step with a value. A socket with
/// a value in every step has the real variable only.
class VcdTrace : public TraceWriter {
public:
    explicit VcdTrace(std::vector<std::string> names);
    void Step(std::int64_t milliseconds, const std::vector<SocketReading>& readings) override;
    std::string Text() const override;

    /// The reference of a socket name before it is made unique: "LED 1 Ingang" is
    /// "LED_1_Ingang"; one that would start with a digit or be empty starts with '_'.
    static std::string Reference(const std::string& naam);
    /// The identifier code of variable `index` (from 0): '!' to '~', then two characters.
    static std::string Code(std::size_t index);

private:
    struct Change {
        std::size_t socket;
        SocketReading reading;
    };
    /// The changes of one step; the first step holds every socket.
    struct Frame {
        std::int64_t milliseconds;
        std::vector<Change> changes;
    };

    std::vector<std::string> names_;
    std::vector<SocketReading> last_;
    /// Whether the socket had no value in any step so far.
    std::vector<bool> lacked_;
    std::vector<Frame> frames_;
    std::int64_t lastMilliseconds_ = 0;
};
