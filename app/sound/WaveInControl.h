#pragma once
// One TheWaveIn2 capture control as the sound user control uses it: made by its ProgID,
// hosted with its own child window in a container widget, and called through its dispatch
// interface with the member ids looked up once.

#include "platform/com/ComPtr.h"
#include "platform/com/IDispatch.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class IHostedControl;
class QWidget;

class WaveInControl {
public:
    /// The version-independent ProgID of the capture control.
    static constexpr const char* kProgId = "WavGrab2Lib.TheWaveIn2";

    /// Makes a new control object as IDispatch; on failure returns its code and says in
    /// `why` (Dutch) what failed.
    using Maker = std::function<HRESULT(ComPtr<IDispatch>& control, std::string& why)>;
    /// Replaces, for the whole process, how controls are made; an empty function restores
    /// making them through the component runtime by kProgId. For tests.
    static void InstallMaker(Maker maker);

    /// A new control with its window made inside `container`, or null with `why` (Dutch)
    /// saying what failed: the component cannot be made, it has no window of its own, or it
    /// lacks a member this program calls.
    static std::unique_ptr<WaveInControl> Create(QWidget* container, std::string& why);

    ~WaveInControl();
    WaveInControl(const WaveInControl&) = delete;
    WaveInControl& operator=(const WaveInControl&) = delete;

    /// Number of wave-input devices; 0 when the call fails.
    std::int32_t InCount();
    /// Product name of device `nr` (1-based); "" when the call fails.
    std::string InName(std::int32_t nr);
    /// Whether device `nr` can capture the control's format; false when the call fails.
    bool InValid(std::int32_t nr);
    /// Chooses the device the next Start opens.
    void SetInSelected(std::int32_t nr);
    /// Starts capturing; false when the control refused (it has told the user why).
    bool Start();
    /// Input level of the last captured buffer, 0 to 32768; 0 when the call fails. Called on
    /// every simulation tick, so it allocates nothing.
    std::int32_t InputVolume();

    /// The control's own window inside its container.
    QWidget* Window() const;

private:
    enum Member { kInCount, kInName, kInSelected, kStart, kInputVolume, kInValid, kMemberCount };

    WaveInControl(ComPtr<IDispatch> control, ComPtr<IHostedControl> hosted);
    HRESULT Call(Member member, std::uint16_t flags, VARIANT* args, std::uint32_t argCount,
                 VARIANT* result);
    std::int32_t CallLong(Member member, std::uint16_t flags, VARIANT* args,
                          std::uint32_t argCount);

    ComPtr<IDispatch> control_;
    ComPtr<IHostedControl> hosted_;
    DISPID ids_[kMemberCount] = {};
    VARIANT result_;
};
