#include "tests/sound/FakeWaveIn.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace {

struct Member {
    const char* name;
    DISPID id;
};
// The capture control's members and ids.
constexpr Member kMembers[] = {{"InCount", 1}, {"InName", 2},  {"InSelected", 3},  {"Start", 4},
                               {"End", 5},     {"Running", 6}, {"InputVolume", 7}, {"InValid", 14}};

std::int32_t ArgLong(const DISPPARAMS* params) {
    return params != nullptr && params->cArgs > 0 ? params->rgvarg[0].lVal() : 0;
}

} // namespace

FakeWaveIn::FakeWaveIn(std::shared_ptr<FakeSound> sound, std::size_t index)
    : sound_(std::move(sound)), index_(index) {}

// The window belongs to its container, as the real control's does.
FakeWaveIn::~FakeWaveIn() = default;

HRESULT FakeWaveIn::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
        *ppv = static_cast<IDispatch*>(this);
    } else if (riid == IID_IHostedControl) {
        *ppv = static_cast<IHostedControl*>(this);
    } else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

std::uint32_t FakeWaveIn::Release() {
    const std::uint32_t left = --refs_;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT FakeWaveIn::GetTypeInfoCount(std::uint32_t* pctinfo) {
    *pctinfo = 0;
    return S_OK;
}

HRESULT FakeWaveIn::GetIDsOfNames(REFIID, const char* const* rgszNames, std::uint32_t cNames, LCID,
                                  DISPID* rgDispId) {
    if (cNames != 1) {
        return DISP_E_UNKNOWNNAME;
    }
    sound_->lookedUp.emplace_back(rgszNames[0]);
    for (const Member& m : kMembers) {
        if (strcasecmp(m.name, rgszNames[0]) == 0) {
            *rgDispId = m.id;
            return S_OK;
        }
    }
    *rgDispId = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

const FakeSound::Device* FakeWaveIn::DeviceAt(std::int32_t nr) const {
    if (nr < 1 || std::size_t(nr) > sound_->devices.size()) {
        return nullptr;
    }
    return &sound_->devices[std::size_t(nr - 1)];
}

HRESULT FakeWaveIn::Invoke(DISPID id, REFIID, LCID, std::uint16_t flags, DISPPARAMS* params,
                           VARIANT* result, EXCEPINFO*, std::uint32_t*) {
    FakeSound::Control& self = sound_->controls[index_];
    VARIANT value;
    switch (id) {
    case 1:
        value = VARIANT::I4(std::int32_t(sound_->devices.size()));
        break;
    case 2: {
        const FakeSound::Device* device = DeviceAt(ArgLong(params));
        value = VARIANT::Str(device != nullptr ? device->name : "");
        break;
    }
    case 3:
        if (flags == DISPATCH_PROPERTYPUT) {
            if (params == nullptr || params->cNamedArgs != 1 ||
                params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
                return DISP_E_PARAMNOTFOUND;
            }
            self.selected = ArgLong(params);
            return S_OK;
        }
        value = VARIANT::I4(self.selected);
        break;
    case 4:
        ++self.starts;
        return S_OK;
    case 7:
        value = VARIANT::I4(self.level);
        break;
    case 14: {
        const FakeSound::Device* device = DeviceAt(ArgLong(params));
        value = VARIANT::Bool(device != nullptr && device->valid);
        break;
    }
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
    if (result != nullptr) {
        *result = std::move(value);
    }
    return S_OK;
}

HRESULT FakeWaveIn::CreateControlWindow(QWidget* container) {
    if (container == nullptr) {
        return E_POINTER;
    }
    if (!window_) {
        window_ = new QWidget(container);
        window_->setObjectName("TheWaveIn2");
        sound_->controls[index_].window = window_;
    } else {
        window_->setParent(container);
    }
    return S_OK;
}
