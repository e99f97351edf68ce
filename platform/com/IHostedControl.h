#pragma once
// Controls that live in a window of their container: a control object made through its class
// factory answers this interface besides its dispatch interface. The container hands it a
// widget, the control makes its own child window there (painting its face, receiving its
// notifications), and from then on the container calls it through IDispatch.
//
// The widget type is only named here, so that the component model itself needs no user
// interface library; the control and its container both use Qt Widgets.

#include "platform/com/IUnknown.h"

class QWidget;

inline constexpr IID IID_IHostedControl{
    0x6E0C41A2, 0x5B7D, 0x4C1E, {0x9A, 0x43, 0x2F, 0x17, 0xC8, 0x0D, 0x55, 0x01}};

class IHostedControl : public IUnknown {
public:
    /// Makes the control's own child window inside `container` (a control has exactly one,
    /// made on the first call; a later call with another container moves it there).
    /// E_POINTER without a container; E_FAIL when the window cannot be made.
    virtual HRESULT CreateControlWindow(QWidget* container) = 0;
    /// The control's own window, or null before CreateControlWindow. Owned by its container
    /// widget; the control forgets it when it is destroyed.
    virtual QWidget* ControlWindow() = 0;
};
