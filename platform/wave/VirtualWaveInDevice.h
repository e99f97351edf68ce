#pragma once
// An open virtual input: makes its sound in real time (4000 bytes every 90.7 ms), or only
// when a test steps it.

#include "platform/wave/VirtualInput.h"
#include "platform/wave/WaveInDevice.h"

#include <QElapsedTimer>
#include <QTimer>
#include <memory>
#include <vector>

class VirtualWaveInDevice final : public WaveInDevice {
    Q_OBJECT

public:
    /// With `byHand`, sound comes only through Step and Feed.
    VirtualWaveInDevice(HWAVEIN handle, std::uint32_t deviceId, QObject* target,
                        std::shared_ptr<const VirtualInput> input, bool byHand);

    bool Step() override;

protected:
    bool BeginSound() override;
    void EndSound() override;

private:
    void Produce();

    std::shared_ptr<const VirtualInput> input_;
    bool byHand_;
    std::uint64_t position_ = 0;
    std::uint64_t producedSinceStart_ = 0;
    QElapsedTimer clock_;
    QTimer timer_;
    std::vector<std::uint8_t> scratch_;
};
