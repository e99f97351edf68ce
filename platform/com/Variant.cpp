#include "Variant.h"

#include "IDispatch.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

VARIANT::VARIANT(const VARIANT& other) {
    CopyFrom(other);
}

VARIANT::VARIANT(VARIANT&& other) noexcept
    : vt_(other.vt_), int_(other.int_), real_(other.real_), str_(std::move(other.str_)),
      unk_(other.unk_) {
    other.vt_ = VT_EMPTY;
    other.unk_ = nullptr;
}

VARIANT& VARIANT::operator=(const VARIANT& other) {
    if (this != &other) {
        if (other.unk_ != nullptr) {
            other.unk_->AddRef();
        }
        IUnknown* old = unk_;
        vt_ = other.vt_;
        int_ = other.int_;
        real_ = other.real_;
        str_ = other.str_;
        unk_ = other.unk_;
        if (old != nullptr) {
            old->Release();
        }
    }
    return *this;
}

VARIANT& VARIANT::operator=(VARIANT&& other) noexcept {
    if (this != &other) {
        Clear();
        vt_ = other.vt_;
        int_ = other.int_;
        real_ = other.real_;
        str_ = std::move(other.str_);
        unk_ = other.unk_;
        other.vt_ = VT_EMPTY;
        other.unk_ = nullptr;
    }
    return *this;
}

VARIANT::~VARIANT() {
    Clear();
}

void VARIANT::CopyFrom(const VARIANT& other) {
    vt_ = other.vt_;
    int_ = other.int_;
    real_ = other.real_;
    str_ = other.str_;
    unk_ = other.unk_;
    if (unk_ != nullptr) {
        unk_->AddRef();
    }
}

void VARIANT::Clear() {
    if (unk_ != nullptr) {
        IUnknown* p = unk_;
        unk_ = nullptr;
        p->Release();
    }
    vt_ = VT_EMPTY;
    int_ = 0;
    real_ = 0.0;
    str_.clear();
}

IDispatch* VARIANT::pdispVal() const {
    return vt_ == VT_DISPATCH ? static_cast<IDispatch*>(unk_) : nullptr;
}

namespace {

bool ParseNumber(const std::string& s, double& out) {
    if (s.empty()) {
        return false;
    }
    const char* begin = s.c_str();
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(begin, &end);
    while (end != nullptr && (*end == ' ' || *end == '\t')) {
        ++end;
    }
    if (end == begin || *end != '\0' || errno == ERANGE) {
        return false;
    }
    out = v;
    return true;
}

} // namespace

VARIANT VARIANT::I2(std::int16_t v) {
    return FromInt(VT_I2, v);
}

VARIANT VARIANT::I4(std::int32_t v) {
    return FromInt(VT_I4, v);
}

VARIANT VARIANT::R4(float v) {
    return FromReal(VT_R4, v);
}

VARIANT VARIANT::R8(double v) {
    return FromReal(VT_R8, v);
}

VARIANT VARIANT::UI1(std::uint8_t v) {
    return FromInt(VT_UI1, v);
}

VARIANT VARIANT::Bool(bool v) {
    return FromInt(VT_BOOL, v ? VARIANT_TRUE : VARIANT_FALSE);
}

VARIANT VARIANT::FromInt(VARTYPE vt, std::int64_t v) {
    VARIANT r;
    r.vt_ = vt;
    r.int_ = v;
    return r;
}

VARIANT VARIANT::FromReal(VARTYPE vt, double v) {
    VARIANT r;
    r.vt_ = vt;
    r.real_ = v;
    return r;
}

VARIANT VARIANT::Str(std::string v) {
    VARIANT r;
    r.vt_ = VT_BSTR;
    r.str_ = std::move(v);
    return r;
}

VARIANT VARIANT::Error(HRESULT code) {
    return FromInt(VT_ERROR, code);
}

VARIANT VARIANT::Dispatch(IDispatch* p) {
    VARIANT r;
    r.vt_ = VT_DISPATCH;
    r.unk_ = p;
    if (p != nullptr) {
        p->AddRef();
    }
    return r;
}

VARIANT VARIANT::Unknown(IUnknown* p) {
    VARIANT r;
    r.vt_ = VT_UNKNOWN;
    r.unk_ = p;
    if (p != nullptr) {
        p->AddRef();
    }
    return r;
}

HRESULT VARIANT::ChangeType(VARIANT& out, VARTYPE to) const {
    if (vt_ == to) {
        out = *this;
        return S_OK;
    }
    // Read the source as a number first, where it is one.
    bool isNumber = true;
    double number = 0.0;
    switch (vt_) {
    case VT_EMPTY:
        number = 0.0;
        break;
    case VT_I2:
    case VT_I4:
    case VT_UI1:
    case VT_BOOL:
        number = static_cast<double>(int_);
        break;
    case VT_R4:
    case VT_R8:
        number = real_;
        break;
    case VT_BSTR:
        if (to == VT_BOOL && (str_ == "True" || str_ == "true" || str_ == "TRUE")) {
            out = Bool(true);
            return S_OK;
        }
        if (to == VT_BOOL && (str_ == "False" || str_ == "false" || str_ == "FALSE")) {
            out = Bool(false);
            return S_OK;
        }
        isNumber = ParseNumber(str_, number);
        if (!isNumber && to != VT_BSTR) {
            return DISP_E_TYPEMISMATCH;
        }
        break;
    default:
        isNumber = false;
        break;
    }

    switch (to) {
    case VT_EMPTY:
        out.Clear();
        return S_OK;
    case VT_I2:
    case VT_I4:
    case VT_UI1: {
        if (!isNumber) {
            return DISP_E_TYPEMISMATCH;
        }
        if (!std::isfinite(number)) {
            return DISP_E_OVERFLOW;
        }
        const double rounded = std::nearbyint(number); // default mode: halves to even
        double lo = std::numeric_limits<std::int32_t>::min();
        double hi = std::numeric_limits<std::int32_t>::max();
        if (to == VT_I2) {
            lo = std::numeric_limits<std::int16_t>::min();
            hi = std::numeric_limits<std::int16_t>::max();
        } else if (to == VT_UI1) {
            lo = 0;
            hi = 255;
        }
        if (rounded < lo || rounded > hi) {
            return DISP_E_OVERFLOW;
        }
        out = FromInt(to, static_cast<std::int64_t>(rounded));
        return S_OK;
    }
    case VT_BOOL:
        if (!isNumber) {
            return DISP_E_TYPEMISMATCH;
        }
        out = Bool(number != 0.0);
        return S_OK;
    case VT_R4:
        if (!isNumber) {
            return DISP_E_TYPEMISMATCH;
        }
        if (std::isfinite(number) && std::fabs(number) > std::numeric_limits<float>::max()) {
            return DISP_E_OVERFLOW;
        }
        out = R4(static_cast<float>(number));
        return S_OK;
    case VT_R8:
        if (!isNumber) {
            return DISP_E_TYPEMISMATCH;
        }
        out = R8(number);
        return S_OK;
    case VT_BSTR: {
        if (vt_ == VT_BOOL) {
            out = Str(int_ != 0 ? "True" : "False");
            return S_OK;
        }
        if (vt_ == VT_I2 || vt_ == VT_I4 || vt_ == VT_UI1) {
            out = Str(std::to_string(int_));
            return S_OK;
        }
        if (vt_ == VT_R4 || vt_ == VT_R8) {
            char buf[64];
            std::snprintf(buf, sizeof buf, "%.*g", vt_ == VT_R4 ? 7 : 15, real_);
            out = Str(buf);
            return S_OK;
        }
        if (vt_ == VT_EMPTY) {
            out = Str("");
            return S_OK;
        }
        return DISP_E_TYPEMISMATCH;
    }
    default:
        return DISP_E_BADVARTYPE;
    }
}
