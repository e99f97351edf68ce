#pragma once
// What the two capture controls share: the device, the capture format, blocks A and B with
// their headers, the wave data block, the level, the re-queue phase, and the control's own
// window where the device's notifications arrive.

#include "platform/com/IDispatch.h"
#include "platform/wave/WaveIn.h"
#include "wave_capture/WaveControlWindow.h"

#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QWidget;

class CWaveInControl {
public:
    /// Size of each of the three blocks, and the part of a capture block given to the device.
    static constexpr std::uint32_t kBlockSize = 40000;
    static constexpr std::uint32_t kBufferLength = 4000;

protected:
    /// `face` is the text of the control's window.
    explicit CWaveInControl(const char* face);
    /// Closes a device still open (returning and unpreparing its buffers first, so that it
    /// never writes into freed blocks), frees the blocks and the window.
    virtual ~CWaveInControl();
    CWaveInControl(const CWaveInControl&) = delete;
    CWaveInControl& operator=(const CWaveInControl&) = delete;

    HRESULT DoInCount(std::int32_t* pVal);
    /// `warnWithoutFormats`: show the InName message for a device with mask 0.
    HRESULT DoInName(std::int32_t Nr, std::string* pVal, bool warnWithoutFormats);
    HRESULT DoInValid(std::int32_t Nr, VARIANT_BOOL* pVal);
    /// Steps 2 to 9 of Start (the caller ends a running capture first); `resetPhase` sets the
    /// phase to 0 after opening.
    HRESULT OpenAndStart(bool resetPhase);
    /// Stops the device, returns its queued buffers, unprepares both headers, closes it and
    /// forgets the handle. Nothing when no device is open.
    void CloseDevice();
    /// Copies a completed buffer into the wave data block and measures its level. A buffer
    /// with nothing recorded sets the size to 0 and leaves the level as it was.
    void CopyBuffer(const WAVEHDR& header);
    /// Unprepares, prepares and queues `header` again; false when one of the calls failed.
    /// Without an open device nothing is called and the result is true.
    bool Requeue(WAVEHDR& header);
    /// Shows "Error OnWIMData an action failed." (caption "CTheWaveIn").
    static void ReportRequeueFailure();
    /// A plain message box with OK, no icon.
    static void ShowMessage(const std::string& text, const char* caption);

    /// Handles a completed buffer of the open device (or of the last one, after End).
    virtual HRESULT OnWIMData(WAVEHDR* header) = 0;

    /// A property put through IDispatch::Invoke: one argument, unnamed or named
    /// DISPID_PROPERTYPUT, converted to a 32-bit integer and handed to `put`.
    static HRESULT InvokePut(DISPPARAMS* params, std::uint32_t* puArgErr,
                             const std::function<HRESULT(std::int32_t)>& put);

    HRESULT MakeWindow(QWidget* container);
    QWidget* Window() const { return window_; }

    std::int32_t m_nSelected = 0;
    HWAVEIN m_hWaveIn = nullptr;
    WAVEFORMATEX m_format{};
    std::unique_ptr<char[]> m_pBufferA;
    std::unique_ptr<char[]> m_pBufferB;
    std::unique_ptr<char[]> m_pData;
    std::int32_t m_nDataSize = 0;
    WAVEHDR m_hdrA{};
    WAVEHDR m_hdrB{};
    bool m_bRunning = false;
    std::int32_t m_nLevel = 0;
    std::int32_t m_nPhase = 0;

private:
    void Receive(const WaveInEvent& event);
    /// The window notifications go to, made without a container when there is none yet.
    WaveControlWindow* EnsureWindow();

    QString face_;
    QPointer<WaveControlWindow> window_;
};
