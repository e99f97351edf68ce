#pragma once
// An open real input: a Qt Multimedia audio source, converted to 44.1 kHz mono 8-bit.

#include "platform/wave/CaptureConverter.h"
#include "platform/wave/WaveInDevice.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSource>
#include <memory>
#include <vector>

class QIODevice;

class QtWaveInDevice final : public WaveInDevice {
    Q_OBJECT

public:
    /// `format` is one that `device` supports.
    QtWaveInDevice(HWAVEIN handle, std::uint32_t deviceId, QObject* target,
                   const QAudioDevice& device, const QAudioFormat& format);
    ~QtWaveInDevice() override;

    /// The format to capture `device` in: 44.1 kHz mono 8-bit when it has that, otherwise its
    /// preferred format (converted here). An invalid format when it has no usable one.
    static QAudioFormat CaptureFormat(const QAudioDevice& device);

protected:
    bool BeginSound() override;
    void EndSound() override;

private:
    void Read();

    QAudioDevice device_;
    QAudioFormat format_;
    std::unique_ptr<QAudioSource> source_;
    QIODevice* io_ = nullptr;
    CaptureConverter converter_;
    std::vector<float> samples_;
    std::vector<std::uint8_t> bytes_;
    QByteArray pending_;
};
