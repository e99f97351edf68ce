#pragma once
// A stand-in for the capture control: the members the sound user control calls, over a set of
// devices and levels that the test sets, with its own child window like the real control.

#include "platform/com/IDispatch.h"
#include "platform/com/IHostedControl.h"

#include <QPointer>
#include <QWidget>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

/// What every fake control of one test shares: the devices, and per control (in the order
/// they were made) its selected device, level and how often it was started.
struct FakeSound {
    struct Device {
        std::string name;
        bool valid = true;
    };
    struct Control {
        std::int32_t selected = 0;
        std::int32_t level = 0;
        int starts = 0;
        QPointer<QWidget> window;
    };
    std::vector<Device> devices;
    std::vector<Control> controls;
    /// Members looked up by name, for checking that only these are called.
    std::vector<std::string> lookedUp;
};

class FakeWaveIn : public IDispatch, public IHostedControl {
public:
    FakeWaveIn(std::shared_ptr<FakeSound> sound, std::size_t index);

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    std::uint32_t AddRef() override { return ++refs_; }
    std::uint32_t Release() override;

    HRESULT GetTypeInfoCount(std::uint32_t* pctinfo) override;
    HRESULT GetIDsOfNames(REFIID riid, const char* const* rgszNames, std::uint32_t cNames,
                          LCID lcid, DISPID* rgDispId) override;
    HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, std::uint16_t wFlags,
                   DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                   std::uint32_t* puArgErr) override;

    HRESULT CreateControlWindow(QWidget* container) override;
    QWidget* ControlWindow() override { return window_; }

private:
    ~FakeWaveIn() override;
    const FakeSound::Device* DeviceAt(std::int32_t nr) const;

    std::shared_ptr<FakeSound> sound_;
    std::size_t index_;
    std::atomic<std::uint32_t> refs_{1};
    QPointer<QWidget> window_;
};
