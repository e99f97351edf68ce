#pragma once
// The capture control TheWaveIn2: level, wave data and single-frequency analysis of one
// wave input.

#include "platform/com/ServerModule.h"
#include "wave_capture/ITheWaveIn2.h"
#include "wave_capture/WaveInControlObject.h"

#include <array>

class CTheWaveIn final : public WaveInControlObject<ITheWaveIn2> {
public:
    static constexpr int kSlots = 1000;
    static constexpr int kTableLength = 4000;

    /// A new control with one reference, as its IUnknown.
    static IUnknown* Create();

    HRESULT InName(std::int32_t Nr, std::string* pVal) override;
    HRESULT Start() override;
    HRESULT End() override;
    HRESULT CalcFreq(float freq, std::int32_t* pVal) override;
    HRESULT GetFaseByFreq(float freq, float* pVal) override;
    HRESULT SubSine(float freq, float volume, float phase) override;
    HRESULT GetWaveData(std::int32_t index, std::int32_t* pVal) override;
    HRESULT WaveDataSize(std::int32_t* pVal) override;

    /// How many frequency slots hold tables (for measuring memory).
    int TablesInUse() const;

private:
    CTheWaveIn();
    ~CTheWaveIn() override;

    HRESULT OnWIMData(WAVEHDR* header) override;
    /// The last slot that holds exactly `freq`, or -1. 0 and NaN are never held: 0 marks a
    /// free slot, and NaN equals nothing.
    int FindSlot(float freq) const;

    ServerModule::ObjectLock moduleLock_;
    std::array<float, kSlots> m_freq{};
    /// A slot's tables are made when the slot is first used, so that slots never used cost
    /// no memory.
    std::array<std::unique_ptr<std::int32_t[]>, kSlots> m_sinTable;
    std::array<std::unique_ptr<std::int32_t[]>, kSlots> m_cosTable;
    std::array<float, kSlots> m_sinPart{};
    std::array<float, kSlots> m_cosPart{};
};
