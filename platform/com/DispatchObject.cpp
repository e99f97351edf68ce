#include "DispatchObject.h"

#include <algorithm>
#include <cctype>

DispatchObject::DispatchObject(const IID& interfaceId) : interfaceId_(interfaceId) {}

DispatchObject::~DispatchObject() = default;

HRESULT DispatchObject::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == interfaceId_) {
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

std::uint32_t DispatchObject::AddRef() {
    return ++refs_;
}

std::uint32_t DispatchObject::Release() {
    const std::uint32_t left = --refs_;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT DispatchObject::GetTypeInfoCount(std::uint32_t* pctinfo) {
    if (pctinfo == nullptr) {
        return E_POINTER;
    }
    *pctinfo = 0;
    return S_OK;
}

namespace {

bool SameNameIgnoringCase(const std::string& a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size(); ++i) {
        if (b[i] == '\0' || std::tolower(static_cast<unsigned char>(a[i])) !=
                                std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return b[i] == '\0';
}

} // namespace

HRESULT DispatchObject::GetIDsOfNames(REFIID riid, const char* const* rgszNames,
                                      std::uint32_t cNames, LCID /*lcid*/, DISPID* rgDispId) {
    if (!(riid == IID_NULL)) {
        return DISP_E_UNKNOWNINTERFACE;
    }
    if (rgszNames == nullptr || rgDispId == nullptr) {
        return E_POINTER;
    }
    HRESULT hr = S_OK;
    for (std::uint32_t i = 0; i < cNames; ++i) {
        rgDispId[i] = DISPID_UNKNOWN;
        // Only the first name is a member; the others would name parameters, which no
        // member here has by name.
        if (i == 0 && rgszNames[0] != nullptr) {
            auto it = std::find_if(members_.begin(), members_.end(), [&](const Member& m) {
                return SameNameIgnoringCase(m.name, rgszNames[0]);
            });
            if (it != members_.end()) {
                rgDispId[0] = it->id;
                continue;
            }
        }
        hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

const DispatchObject::Member* DispatchObject::FindMember(DISPID id) const {
    auto it = std::find_if(members_.begin(), members_.end(),
                           [id](const Member& m) { return m.id == id; });
    return it == members_.end() ? nullptr : &*it;
}

HRESULT DispatchObject::Invoke(DISPID dispIdMember, REFIID riid, LCID /*lcid*/,
                               std::uint16_t /*wFlags*/, DISPPARAMS* pDispParams,
                               VARIANT* pVarResult, EXCEPINFO* /*pExcepInfo*/,
                               std::uint32_t* puArgErr) {
    if (!(riid == IID_NULL)) {
        return DISP_E_UNKNOWNINTERFACE;
    }
    const Member* member = FindMember(dispIdMember);
    if (member == nullptr) {
        return DISP_E_MEMBERNOTFOUND;
    }
    DISPPARAMS none;
    const DISPPARAMS& params = pDispParams != nullptr ? *pDispParams : none;
    if (params.cNamedArgs > 0) {
        return DISP_E_NONAMEDARGS;
    }
    if (params.cArgs != member->argCount) {
        return DISP_E_BADPARAMCOUNT;
    }
    if (params.cArgs > 0 && params.rgvarg == nullptr) {
        return E_POINTER;
    }
    if (pVarResult != nullptr) {
        pVarResult->Clear();
    }
    lastBadArg_ = static_cast<std::size_t>(-1);
    const HRESULT hr = member->handler(DispatchArgs(params.rgvarg, params.cArgs), pVarResult);
    if (hr == DISP_E_TYPEMISMATCH || hr == DISP_E_OVERFLOW) {
        // Handlers report bad arguments through ArgToLong, which leaves the culprit's
        // call-order index in lastBadArg_; translate it to the reversed rgvarg index.
        if (puArgErr != nullptr && lastBadArg_ < params.cArgs) {
            *puArgErr = params.cArgs - 1 - static_cast<std::uint32_t>(lastBadArg_);
        }
    }
    return hr;
}

HRESULT DispatchObject::ConvertArgToLong(DispatchArgs args, std::size_t index, std::int32_t& out) {
    if (index >= args.size()) {
        return DISP_E_BADPARAMCOUNT;
    }
    VARIANT converted;
    const HRESULT hr = args[index].ChangeType(converted, VT_I4);
    if (FAILED(hr)) {
        lastBadArg_ = index;
        return hr;
    }
    out = converted.lVal();
    return S_OK;
}

void DispatchObject::AddMember(std::string name, DISPID id, std::size_t argCount, Handler handler) {
    members_.push_back(Member{std::move(name), id, argCount, std::move(handler)});
}
