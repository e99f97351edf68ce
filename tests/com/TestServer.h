#pragma once
// Identity of the test component library (libtavsim_test_server.so): one class whose objects
// answer "Answer" (DISPID 1) with 42. The library is built outside the program's folder, so
// it is found only while it is registered.

#include "platform/com/Guid.h"

inline constexpr CLSID CLSID_TestGadget{
    0x5A1E0001, 0x7AB5, 0x4C0D, {0x9E, 0x11, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}};
inline constexpr IID IID_ITestGadget{
    0x5A1E0002, 0x7AB5, 0x4C0D, {0x9E, 0x11, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}};
