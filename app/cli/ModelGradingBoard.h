#pragma once
// A pupil's board for grading, on the board model alone.

#include "app/assignments/GradingBoard.h"
#include "app/cli/CheckBoard.h"
#include "app/documents/BoardDocument.h"

/// Runs checks on `document`, the pupil's board as saved. Every Reset puts the document back
/// with the push buttons off, the sensors dark, the counter at 0, the sound at 0 and time at
/// its start. A sensor set to "lamp" has the light held over its centre; with both on lamp
/// it is over the last one set.
class ModelGradingBoard : public GradingBoard {
public:
    explicit ModelGradingBoard(BoardDocument document);

    void Reset() override;
    void SetPushButton(std::string_view naam, bool on) override;
    void SetSensor(std::string_view naam, std::int32_t mode) override;
    void SetKnob(std::string_view naam, std::int32_t tenths) override;
    void SetSound(std::int32_t level) override;
    void Press(std::string_view naam) override;
    void Step() override;

    bool Led(std::int32_t number) const override;
    bool Buzzer() const override;
    std::int32_t Display() const override;
    std::optional<std::int32_t> Value(std::string_view naam) const override;

private:
    BoardDocument document_;
    CheckBoard board_;
};
