#include "platform/wave/CaptureConverter.h"

#include <cmath>

CaptureConverter::CaptureConverter(std::uint32_t inputRate, std::uint16_t channels)
    : inputRate_(inputRate == 0 ? kRate : inputRate), channels_(channels == 0 ? 1 : channels) {}

std::uint8_t CaptureConverter::ToByte(float sample) {
    if (std::isnan(sample)) {
        return 128;
    }
    const float value = std::nearbyint(128.0f + sample * 128.0f);
    return static_cast<std::uint8_t>(value < 0.0f ? 0.0f : (value > 255.0f ? 255.0f : value));
}

void CaptureConverter::Push(std::span<const float> interleaved, std::vector<std::uint8_t>& out) {
    const std::size_t frames = interleaved.size() / channels_;
    if (frames == 0) {
        return;
    }
    mono_.resize(frames);
    for (std::size_t f = 0; f < frames; ++f) {
        float sum = 0.0f;
        for (std::uint16_t c = 0; c < channels_; ++c) {
            sum += interleaved[f * channels_ + c];
        }
        mono_[f] = sum / static_cast<float>(channels_);
    }
    // Output sample j lies at input position j * inputRate / 44100; it is made as soon as
    // both of its neighbours have come in.
    const std::uint64_t first = inputCount_;
    const std::uint64_t last = inputCount_ + frames - 1;
    auto at = [&](std::uint64_t index) {
        return index < first ? previous_ : mono_[static_cast<std::size_t>(index - first)];
    };
    while (true) {
        const std::uint64_t scaled = outputCount_ * inputRate_;
        const std::uint64_t below = scaled / kRate;
        const std::uint64_t rest = scaled % kRate;
        if (below > last || (rest != 0 && below + 1 > last)) {
            break;
        }
        float value = at(below);
        if (rest != 0) {
            const float fraction = static_cast<float>(rest) / static_cast<float>(kRate);
            value += (at(below + 1) - value) * fraction;
        }
        out.push_back(ToByte(value));
        ++outputCount_;
    }
    previous_ = mono_.back();
    inputCount_ += frames;
}
