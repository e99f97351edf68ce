// Automation conversions and late-bound calls: the rules every component call depends on.
#include "platform/com/Variant.h"

#include "platform/com/DispatchObject.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct Conversion {
    const char* what;
    VARIANT from;
    VARTYPE to;
    HRESULT hr;
    double expected; // compared as a number when hr is S_OK
};

double AsNumber(const VARIANT& v) {
    switch (v.vt()) {
    case VT_I2:
        return v.iVal();
    case VT_I4:
        return v.lVal();
    case VT_UI1:
        return v.bVal();
    case VT_BOOL:
        return v.boolVal();
    case VT_R4:
        return v.fltVal();
    case VT_R8:
        return v.dblVal();
    default:
        return -12345.0;
    }
}

TEST(Variant, ConvertsLikeAutomation) {
    const std::vector<Conversion> rows = {
        // Fractions round to the nearest integer, halves to the even neighbour.
        {"2.5 to I4", VARIANT::R8(2.5), VT_I4, S_OK, 2},
        {"3.5 to I4", VARIANT::R8(3.5), VT_I4, S_OK, 4},
        {"-2.5 to I4", VARIANT::R8(-2.5), VT_I4, S_OK, -2},
        {"12.49 to I4", VARIANT::R4(12.49F), VT_I4, S_OK, 12},
        {"I4 max", VARIANT::R8(2147483647.0), VT_I4, S_OK, 2147483647.0},
        {"I4 max + 1", VARIANT::R8(2147483648.0), VT_I4, DISP_E_OVERFLOW, 0},
        {"I2 overflow", VARIANT::I4(40000), VT_I2, DISP_E_OVERFLOW, 0},
        {"I2 fits", VARIANT::I4(-32768), VT_I2, S_OK, -32768},
        {"byte below 0", VARIANT::I4(-1), VT_UI1, DISP_E_OVERFLOW, 0},
        // Booleans are -1 and 0 as numbers.
        {"true to I4", VARIANT::Bool(true), VT_I4, S_OK, -1},
        {"7 to Bool", VARIANT::I4(7), VT_BOOL, S_OK, -1},
        {"0 to Bool", VARIANT::I4(0), VT_BOOL, S_OK, 0},
        // Strings are read as numbers.
        {"\"42\" to I4", VARIANT::Str("42"), VT_I4, S_OK, 42},
        {"\" 1.5\" to R8", VARIANT::Str(" 1.5"), VT_R8, S_OK, 1.5},
        {"\"abc\" to I4", VARIANT::Str("abc"), VT_I4, DISP_E_TYPEMISMATCH, 0},
        {"\"\" to I4", VARIANT::Str(""), VT_I4, DISP_E_TYPEMISMATCH, 0},
        {"\"True\" to Bool", VARIANT::Str("True"), VT_BOOL, S_OK, -1},
        {"empty to I4", VARIANT(), VT_I4, S_OK, 0},
        {"error code to I4", VARIANT::Error(E_FAIL), VT_I4, DISP_E_TYPEMISMATCH, 0},
    };
    for (const Conversion& row : rows) {
        VARIANT out = VARIANT::Str("unchanged");
        const HRESULT hr = row.from.ChangeType(out, row.to);
        EXPECT_EQ(hr, row.hr) << row.what;
        if (row.hr == S_OK) {
            EXPECT_EQ(out.vt(), row.to) << row.what;
            EXPECT_EQ(AsNumber(out), row.expected) << row.what;
        } else {
            EXPECT_EQ(out.bstrVal(), "unchanged") << row.what << ": output touched on failure";
        }
    }
}

TEST(Variant, NumbersBecomeText) {
    VARIANT out;
    ASSERT_EQ(VARIANT::I4(-17).ChangeType(out, VT_BSTR), S_OK);
    EXPECT_EQ(out.bstrVal(), "-17");
    ASSERT_EQ(VARIANT::Bool(false).ChangeType(out, VT_BSTR), S_OK);
    EXPECT_EQ(out.bstrVal(), "False");
}

/// An automation object that records its calls and counts its references.
class Recorder : public DispatchObject {
public:
    Recorder() : DispatchObject(IID_NULL) {
        AddMember("Sum3", 7, 3, [this](DispatchArgs args, VARIANT* result) {
            std::int32_t a = 0;
            std::int32_t b = 0;
            std::int32_t c = 0;
            HRESULT hr = ArgToLong(args, 0, a);
            if (SUCCEEDED(hr)) {
                hr = ArgToLong(args, 1, b);
            }
            if (SUCCEEDED(hr)) {
                hr = ArgToLong(args, 2, c);
            }
            if (FAILED(hr)) {
                return hr;
            }
            calls.push_back({a, b, c});
            if (result != nullptr) {
                *result = VARIANT::I4(a * 100 + b * 10 + c);
            }
            return S_OK;
        });
    }
    std::vector<std::vector<std::int32_t>> calls;
    static inline int destroyed = 0;

protected:
    ~Recorder() override { ++destroyed; }
};

HRESULT CallSum3(IDispatch* d, std::vector<VARIANT> callOrder, VARIANT* result,
                 std::uint32_t* argErr = nullptr) {
    std::vector<VARIANT> reversed(callOrder.rbegin(), callOrder.rend());
    DISPPARAMS params;
    params.rgvarg = reversed.data();
    params.cArgs = static_cast<std::uint32_t>(reversed.size());
    return d->Invoke(7, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &params, result, nullptr,
                     argErr);
}

TEST(DispatchObject, LooksUpNamesWithoutRegardToCase) {
    auto* r = new Recorder;
    DISPID id = 0;
    const char* name = "sUM3";
    EXPECT_EQ(r->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    EXPECT_EQ(id, 7);
    const char* unknown = "Sum";
    EXPECT_EQ(r->GetIDsOfNames(IID_NULL, &unknown, 1, LOCALE_USER_DEFAULT, &id),
              DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);
    r->Release();
}

TEST(DispatchObject, PassesArgumentsInCallOrderAndReportsBadCalls) {
    auto* r = new Recorder;
    VARIANT result;
    ASSERT_EQ(CallSum3(r, {VARIANT::I4(1), VARIANT::R8(2.0), VARIANT::Str("3")}, &result), S_OK);
    EXPECT_EQ(result.lVal(), 123);

    EXPECT_EQ(CallSum3(r, {VARIANT::I4(1), VARIANT::I4(2)}, &result), DISP_E_BADPARAMCOUNT);

    // The second argument is the culprit; in reverse order it sits at index 1 of three.
    std::uint32_t argErr = 99;
    EXPECT_EQ(CallSum3(r, {VARIANT::I4(1), VARIANT::Str("x"), VARIANT::I4(3)}, &result, &argErr),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 1u);
    // The first argument sits at the end of the reversed array.
    EXPECT_EQ(CallSum3(r, {VARIANT::R8(1e12), VARIANT::I4(2), VARIANT::I4(3)}, &result, &argErr),
              DISP_E_OVERFLOW);
    EXPECT_EQ(argErr, 2u);

    DISPID named = 0;
    VARIANT args[3] = {VARIANT::I4(1), VARIANT::I4(2), VARIANT::I4(3)};
    DISPPARAMS withNames{args, &named, 3, 1};
    EXPECT_EQ(r->Invoke(7, IID_NULL, 0, DISPATCH_METHOD, &withNames, &result, nullptr, nullptr),
              DISP_E_NONAMEDARGS);
    EXPECT_EQ(r->Invoke(8, IID_NULL, 0, DISPATCH_METHOD, nullptr, &result, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(r->calls.size(), 1u);
    r->Release();
}

TEST(DispatchObject, VariantsHoldAReference) {
    Recorder::destroyed = 0;
    auto* r = new Recorder;
    {
        VARIANT held = VARIANT::Dispatch(r);
        VARIANT copy = held;
        VARIANT assigned;
        assigned = copy;
        r->Release(); // only the variants hold it now
        EXPECT_EQ(Recorder::destroyed, 0);
        EXPECT_EQ(assigned.pdispVal(), r);
    }
    EXPECT_EQ(Recorder::destroyed, 1);
}

} // namespace
