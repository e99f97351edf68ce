#pragma once
// What a measurement reads of one socket in one step.

#include <cstdint>
#include <optional>

/// A socket's value in one step, in tenths of a volt (0 to 50 on the board); none when the
/// socket has no value in that step, which differs from 0.
using SocketReading = std::optional<std::int32_t>;
