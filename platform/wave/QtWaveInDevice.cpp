#include "platform/wave/QtWaveInDevice.h"

#include "platform/wave/WaveInDevices.h"

#include <QIODevice>
#include <cstring>

QtWaveInDevice::QtWaveInDevice(HWAVEIN handle, std::uint32_t deviceId, QObject* target,
                               const QAudioDevice& device, const QAudioFormat& format)
    : WaveInDevice(handle, deviceId, target), device_(device), format_(format),
      converter_(static_cast<std::uint32_t>(format.sampleRate()),
                 static_cast<std::uint16_t>(format.channelCount())) {}

QtWaveInDevice::~QtWaveInDevice() {
    EndSound();
}

QAudioFormat QtWaveInDevice::CaptureFormat(const QAudioDevice& device) {
    if (device.isNull()) {
        return {};
    }
    QAudioFormat wanted;
    wanted.setSampleRate(static_cast<int>(CaptureConverter::kRate));
    wanted.setChannelCount(1);
    wanted.setSampleFormat(QAudioFormat::UInt8);
    if (device.isFormatSupported(wanted)) {
        return wanted;
    }
    const QAudioFormat preferred = device.preferredFormat();
    if (preferred.sampleRate() <= 0 || preferred.channelCount() <= 0 ||
        preferred.sampleFormat() == QAudioFormat::Unknown) {
        return {};
    }
    return preferred;
}

bool QtWaveInDevice::BeginSound() {
    source_ = std::make_unique<QAudioSource>(device_, format_);
    io_ = source_->start();
    if (io_ == nullptr || source_->error() != QAudio::NoError) {
        EndSound();
        return false;
    }
    connect(io_, &QIODevice::readyRead, this, &QtWaveInDevice::Read);
    return true;
}

void QtWaveInDevice::EndSound() {
    if (source_) {
        if (io_ != nullptr) {
            disconnect(io_, nullptr, this, nullptr);
        }
        source_->stop();
        source_.reset();
        io_ = nullptr;
        pending_.clear();
        WaveInDevices::Instance().NoteStreamStopped();
    }
}

void QtWaveInDevice::Read() {
    if (io_ == nullptr) {
        return;
    }
    pending_.append(io_->readAll());
    const int frameBytes = format_.bytesPerFrame();
    if (frameBytes <= 0) {
        pending_.clear();
        return;
    }
    const qsizetype usable = pending_.size() / frameBytes * frameBytes;
    const int sampleBytes = format_.bytesPerSample();
    const auto* p = reinterpret_cast<const std::uint8_t*>(pending_.constData());
    samples_.resize(static_cast<std::size_t>(usable / sampleBytes));
    for (std::size_t i = 0; i < samples_.size(); ++i, p += sampleBytes) {
        switch (format_.sampleFormat()) {
        case QAudioFormat::UInt8:
            samples_[i] = (static_cast<float>(*p) - 128.0f) / 128.0f;
            break;
        case QAudioFormat::Int16: {
            std::int16_t v;
            std::memcpy(&v, p, sizeof v);
            samples_[i] = static_cast<float>(v) / 32768.0f;
            break;
        }
        case QAudioFormat::Int32: {
            std::int32_t v;
            std::memcpy(&v, p, sizeof v);
            samples_[i] = static_cast<float>(v) / 2147483648.0f;
            break;
        }
        case QAudioFormat::Float:
            std::memcpy(&samples_[i], p, sizeof(float));
            break;
        default:
            samples_[i] = 0.0f;
            break;
        }
    }
    pending_.remove(0, usable);
    bytes_.clear();
    converter_.Push(samples_, bytes_);
    Deliver(bytes_.data(), bytes_.size());
}
