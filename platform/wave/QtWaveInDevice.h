#pragma once
// An open real input: a Qt Multimedia audio source, converted to 44.1 kHz mono 8-bit. When the
// sound system drops the stream (its server died), the input delivers silence in real time and
// opens a new stream now and then, until the sound system takes it again.

#include "platform/wave/CaptureConverter.h"
#include "platform/wave/WaveInDevice.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSource>
#include <QElapsedTimer>
#include <QIODevice>
#include <QPointer>
#include <QTimer>
#include <memory>
#include <vector>

class QtWaveInDevice final : public WaveInDevice {
    Q_OBJECT

public:
    /// How long a lost input waits between two tries to open a new stream.
    static constexpr int kRetryMilliseconds = 1000;

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
    /// A new stream on the device; false (and no stream) when the sound system refuses it.
    bool OpenStream();
    void CloseStream();
    /// Runs after every state change of the stream: a stream that stopped by itself is lost.
    void CheckStream();
    /// Silence up to the present moment, and a new stream when it is time to try again.
    void WhileLost();
    void Read();

    QAudioDevice device_;
    QAudioFormat format_;
    std::unique_ptr<QAudioSource> source_;
    /// Belongs to the source, which deletes it when its stream fails.
    QPointer<QIODevice> io_;
    CaptureConverter converter_;
    std::vector<float> samples_;
    std::vector<std::uint8_t> bytes_;
    QByteArray pending_;
    QTimer lostTimer_;
    QElapsedTimer lostClock_;
    std::uint64_t silenceSent_ = 0;
    qint64 nextRetry_ = 0;
};
