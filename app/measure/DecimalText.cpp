#include "app/measure/DecimalText.h"

namespace {

/// `value` / 10^`decimals` with exactly that many decimals.
std::string Fixed(std::int64_t value, int decimals, char separator) {
    const bool negative = value < 0;
    // Through unsigned, so that the most negative value has a size too.
    std::uint64_t size = negative ? 0 - static_cast<std::uint64_t>(value) : value;
    std::string fraction(static_cast<std::size_t>(decimals), '0');
    for (int i = decimals - 1; i >= 0; --i) {
        fraction[static_cast<std::size_t>(i)] = static_cast<char>('0' + size % 10);
        size /= 10;
    }
    return (negative ? "-" : "") + std::to_string(size) + separator + fraction;
}

} // namespace

std::string DecimalText::Volts(std::int32_t tenths, char separator) {
    return Fixed(tenths, 1, separator);
}

std::string DecimalText::Seconds(std::int64_t milliseconds, char separator) {
    if (milliseconds % 10 == 0) {
        return Fixed(milliseconds / 10, 2, separator);
    }
    return Fixed(milliseconds, 3, separator);
}
