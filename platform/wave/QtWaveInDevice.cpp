#include "platform/wave/QtWaveInDevice.h"

#include "platform/wave/WaveInDevices.h"

#include <QIODevice>
#include <cstring>

namespace {

/// How much sound the stream holds before it must be read.
constexpr qint64 kStreamBufferMicroseconds = 200000;

/// How often a lost input catches up with the clock.
constexpr int kSilenceTickMilliseconds = 15;

} // namespace

QtWaveInDevice::QtWaveInDevice(HWAVEIN handle, std::uint32_t deviceId, QObject* target,
                               const QAudioDevice& device, const QAudioFormat& format)
    : WaveInDevice(handle, deviceId, target), device_(device), format_(format),
      converter_(static_cast<std::uint32_t>(format.sampleRate()),
                 static_cast<std::uint16_t>(format.channelCount())) {
    lostTimer_.setTimerType(Qt::PreciseTimer);
    lostTimer_.setInterval(kSilenceTickMilliseconds);
    connect(&lostTimer_, &QTimer::timeout, this, &QtWaveInDevice::WhileLost);
}

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
    return OpenStream();
}

void QtWaveInDevice::EndSound() {
    lostTimer_.stop();
    CloseStream();
}

bool QtWaveInDevice::OpenStream() {
    source_ = std::make_unique<QAudioSource>(device_, format_);
    // Queued: the source may report from deep inside its own calls, and a lost stream is
    // deleted here.
    connect(source_.get(), &QAudioSource::stateChanged, this, &QtWaveInDevice::CheckStream,
            Qt::QueuedConnection);
    // A roomy buffer lets the sound system hand over larger pieces less often; the level
    // is measured per buffer of the capture anyway.
    source_->setBufferSize(format_.bytesForDuration(kStreamBufferMicroseconds));
    io_ = source_->start();
    if (io_ == nullptr || source_->error() != QAudio::NoError) {
        CloseStream();
        return false;
    }
    connect(io_, &QIODevice::readyRead, this, &QtWaveInDevice::Read);
    return true;
}

void QtWaveInDevice::CloseStream() {
    if (!source_) {
        return;
    }
    disconnect(source_.get(), nullptr, this, nullptr);
    if (io_ != nullptr) {
        disconnect(io_, nullptr, this, nullptr);
    }
    source_->stop();
    source_.reset();
    io_ = nullptr;
    pending_.clear();
    WaveInDevices::Instance().NoteStreamStopped();
}

void QtWaveInDevice::CheckStream() {
    // The state is read again rather than taken from the signal: a report may come after the
    // source that made it has been replaced.
    if (!source_ || (io_ != nullptr && source_->state() != QAudio::StoppedState &&
                     source_->error() == QAudio::NoError)) {
        return;
    }
    CloseStream();
    if (!Started()) {
        return;
    }
    silenceSent_ = 0;
    nextRetry_ = kRetryMilliseconds;
    lostClock_.start();
    lostTimer_.start();
}

void QtWaveInDevice::WhileLost() {
    const std::uint64_t due = static_cast<std::uint64_t>(lostClock_.nsecsElapsed()) *
                              CaptureConverter::kRate / 1000000000u;
    if (due > silenceSent_) {
        bytes_.assign(static_cast<std::size_t>(due - silenceSent_), 128);
        silenceSent_ = due;
        Deliver(bytes_.data(), bytes_.size());
    }
    if (lostClock_.elapsed() < nextRetry_) {
        return;
    }
    nextRetry_ = lostClock_.elapsed() + kRetryMilliseconds;
    if (OpenStream()) {
        lostTimer_.stop();
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
