#include "app/board/BoardPointer.h"

#include "app/board/FORM1.h"
#include "app/board/frmMeetgrafiek.h"
#include "app/components/clsBordLines.h"
#include "app/components/clsDisplay.h"
#include "app/components/clsLED.h"
#include "app/components/clsSensor.h"
#include "app/components/clsVoltControl.h"
#include "app/simulation/SocketTable.h"
#include "app/simulation/clsSnaps.h"
#include "platform/ui/Prompter.h"
#include "sprite_control/KaleidoATL.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

/// A control that opens the knob, and where the knob is shown; the model knows which setting
/// it adjusts.
struct KnobPlace {
    std::string_view naam;
    std::int32_t x;
    std::int32_t y;
};

constexpr std::array<KnobPlace, 3> kKnobPlaces = {{
    {SocketName(Socket::ComparatorKnob), 150, 100},
    {SocketName(Socket::VariableVoltageKnob), 90, 236},
    {SocketName(Socket::PulseGeneratorKnob), 90, 276},
}};

} // namespace

BoardPointer::BoardPointer(FORM1& form) : form_(form), probe_(form) {
    KaleidoATL* canvas = form.Kaleido1();
    connect(canvas, &KaleidoATL::PointerDown, this, &BoardPointer::Kaleido1_PointerDown);
    connect(canvas, &KaleidoATL::PointerMove, this, &BoardPointer::Kaleido1_PointerMove);
}

bool BoardPointer::Ignored(int sprite) const {
    const clsVoltControl* knob = form_.Knob();
    return sprite != 0 || knob == nullptr || !form_.HasBoard() || knob->InBound();
}

std::ptrdiff_t BoardPointer::NearestWire(const WireList& lines, std::int32_t x, std::int32_t y) {
    std::ptrdiff_t nearest = -1;
    std::int32_t best = kFarAway;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::int32_t d = lines[i]->Distance(x, y);
        if (d < best) {
            best = d;
            nearest = static_cast<std::ptrdiff_t>(i);
        }
    }
    return nearest;
}

void BoardPointer::Kaleido1_PointerMove(int sprite, int x, int y) {
    if (Ignored(sprite)) {
        probe_.Clear();
        return;
    }
    probe_.PointerAt(x, y);
    const std::int32_t mode = form_.EditMode();
    if (mode == FORM1::kModeDeleteWires) {
        const WireList& lines = form_.Lines();
        const std::ptrdiff_t nearest = NearestWire(lines, x, y);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            lines[i]->SetHighlight(static_cast<std::ptrdiff_t>(i) == nearest ? -1 : 0);
        }
        return;
    }
    form_.SetLastPointer(x, y);
    const clsSnaps& snaps = form_.Snaps();
    std::string name = snaps.GetSnapName(x, y);
    const std::int32_t hx = snaps.GetXbyName(name);
    const std::int32_t hy = snaps.GetYbyName(name);
    if (mode == FORM1::kModeOperate && snaps.GetConnectablebyName(name) != 0) {
        name.clear();
    }
    form_.SetHover(!name.empty(), hx, hy);
}

void BoardPointer::Kaleido1_PointerDown(int sprite, int button, int x, int y) {
    if (Ignored(sprite)) {
        return;
    }
    // While the measuring graph chooses on the board, a click on a socket is its.
    if (frmMeetgrafiek* graph = form_.Meetgrafiek();
        graph != nullptr && button == kLeftButton &&
        graph->PickSocket(form_.Snaps().GetSnapName(x, y))) {
        return;
    }
    if (form_.EditMode() == FORM1::kModeDeleteWires) {
        if ((button & kLeftButton) != 0) {
            DeleteNearestWire(x, y);
        }
        return;
    }
    if (button == kLeftButton) {
        const clsSnaps& snaps = form_.Snaps();
        const std::string name = snaps.GetSnapName(x, y);
        Operate(name, snaps.GetXbyName(name), snaps.GetYbyName(name));
    } else if (button == kRightButton) {
        form_.SetPendingLine(nullptr);
    }
}

void BoardPointer::Operate(const std::string& name, std::int32_t sx, std::int32_t sy) {
    for (const KnobPlace& place : kKnobPlaces) {
        if (name == place.naam) {
            clsVoltControl* knob = form_.Knob();
            knob->Move(place.x, place.y);
            knob->tag = place.naam;
            knob->SetValue(*form_.Model().KnobSetting(place.naam));
            return;
        }
    }
    switch (form_.Model().Press(name)) {
    case BoardModel::Pressed::Control:
        form_.Undo_AddThisState();
        return;
    case BoardModel::Pressed::CounterReset:
        return;
    case BoardModel::Pressed::Nothing:
        break;
    }
    if (form_.EditMode() == FORM1::kModeNewWires && form_.Snaps().GetConnectablebyName(name) != 0) {
        AddWireEnd(name, sx, sy);
    }
}

void BoardPointer::AddWireEnd(const std::string& name, std::int32_t sx, std::int32_t sy) {
    if (!form_.PendingLine()) {
        form_.SetPendingLine(form_.BordLines()->CreateLine());
    }
    const std::shared_ptr<clsLine> line = form_.PendingLine();
    if (line->Valid1() == 0) {
        line->SetCoords(1, sx, sy);
        line->SetColor(8);
        line->naam1 = name;
        return;
    }
    if (name == line->naam1) {
        return;
    }
    if (form_.WireExists(line->naam1, name)) {
        Prompter::Current().Message("Deze lijn bestaat al.", "Tavelon 2", Prompter::Buttons::Ok,
                                    Prompter::Icon::None);
        return;
    }
    line->SetCoords(2, sx, sy);
    line->naam2 = name;
    form_.SetPendingLine(nullptr);
    form_.AddWire(line);
}

void BoardPointer::DeleteNearestWire(std::int32_t x, std::int32_t y) {
    const WireList& lines = form_.Lines();
    const std::ptrdiff_t nearest = NearestWire(lines, x, y);
    if (nearest >= 0) {
        // A wire that is on the list twice leaves from its last place.
        const std::shared_ptr<clsLine> target = lines[std::size_t(nearest)];
        const auto found = std::find(lines.rbegin(), lines.rend(), target);
        form_.RemoveWire(std::size_t(std::distance(found, lines.rend()) - 1));
    }
    form_.Undo_AddThisState();
}
