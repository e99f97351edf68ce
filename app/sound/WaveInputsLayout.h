#pragma once
// Where the parts of the sound input chooser lie on its background picture. The picture is
// drawn by the data generator around these places and the window puts its labels, level bars
// and buttons on them, so both read them from here.

namespace WaveInputsLayout {

struct Box {
    int x;
    int y;
    int width;
    int height;
};

/// The window and its background picture.
inline constexpr int kWidth = 314;
inline constexpr int kHeight = 286;

/// The bar picture: a full-scale bar; a level bar shows its left part.
inline constexpr int kBarWidth = 200;
inline constexpr int kBarHeight = 12;

/// Six rows: 0 the sensor's overall level, 1 to 5 the inputs.
inline constexpr int kRows = 6;
inline constexpr int kFirstRowTop = 66;
inline constexpr int kRowPitch = 29;

inline constexpr Box kInputCount{14, 10, 200, 18};
/// One line, wrapped if long, saying why sound input is not available.
inline constexpr Box kStatus{14, 26, 286, 28};

inline constexpr int RowTop(int row) {
    return kFirstRowTop + kRowPitch * row;
}
/// The fixed caption of a row ("Geluids-sensor", "Input #1" ...).
inline constexpr Box Caption(int row) {
    return {14, RowTop(row) - 2, 86, 16};
}
/// The sunken track a row's bar runs in; the bar fills it from the left, one pixel inside.
inline constexpr Box Track(int row) {
    return {101, RowTop(row) - 1, kBarWidth + 2, kBarHeight + 2};
}
inline constexpr Box Bar(int row) {
    return {102, RowTop(row), kBarWidth, kBarHeight};
}
/// The input's name, under its bar (rows 1 to 5).
inline constexpr Box Name(int row) {
    return {102, RowTop(row) + 13, 202, 15};
}

/// The line above the buttons, and the buttons.
inline constexpr int kRuleY = 246;
inline constexpr Box kSettingsButton{14, 252, 170, 26};
inline constexpr Box kOkButton{230, 252, 70, 26};

} // namespace WaveInputsLayout
