#pragma once
// The volume meter control VolWaveIn: captures one wave input and measures its level only.

#include "platform/com/ServerModule.h"
#include "wave_capture/IVolWaveIn.h"
#include "wave_capture/WaveInControlObject.h"

class CVolWaveIn final : public WaveInControlObject<IVolWaveIn> {
public:
    /// A new control with one reference, as its IUnknown.
    static IUnknown* Create();

    HRESULT InName(std::int32_t Nr, std::string* pVal) override;
    HRESULT Start() override;
    HRESULT End() override;

private:
    CVolWaveIn();
    ~CVolWaveIn() override;

    HRESULT OnWIMData(WAVEHDR* header) override;

    ServerModule::ObjectLock moduleLock_;
};
