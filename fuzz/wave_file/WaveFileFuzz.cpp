// The WAV reader of the virtual sound inputs on any file, by the path a
// TAVSIM_WAVE_INPUTS entry "NAME=file:PATH" takes: read, decoded and converted to the capture
// format. A file that is accepted gives sound the controls can use; one that is refused
// says why.

#include "fuzz/support/FuzzTempFile.h"
#include "platform/wave/VirtualInput.h"
#include "platform/wave/WavFile.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <span>

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "WAV file: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    const std::optional<WavFile> wav = WavFile::Parse(std::span(data, size), &error);
    if (!wav) {
        if (error.empty()) {
            Fail("refused without saying why");
        }
    } else {
        if (wav->channels < 1 || wav->channels > 64 || wav->sampleRate < 1 ||
            wav->sampleRate > 1'000'000) {
            Fail("a channel count or rate out of range was accepted");
        }
        if (wav->Frames() == 0 || wav->samples.size() % wav->channels != 0) {
            Fail("not a whole number of frames");
        }
        // Every sample takes at least one byte of the file.
        if (wav->samples.size() > size) {
            Fail("more samples than the file holds");
        }
        for (float sample : wav->samples) {
            if (!std::isfinite(sample)) {
                Fail("a sample that is no number");
            }
        }
    }

    static const FuzzTempFile file(".wav");
    file.Write(data, size);
    std::vector<std::string> errors;
    const std::vector<VirtualInput> inputs =
        VirtualInput::ParseList("Fuzz=file:" + file.Path(), &errors);
    if (inputs.size() + errors.size() != 1) {
        Fail("not exactly one input or one error");
    }
    if (!inputs.empty()) {
        if (!wav) {
            Fail("an input from a file the reader refused");
        }
        const VirtualInput& input = inputs.front();
        if (input.kind != VirtualInput::Kind::File || input.loop.empty()) {
            Fail("a file input without sound");
        }
        std::uint8_t out[256];
        std::uint64_t position = 0;
        input.Generate(out, sizeof out, position);
        if (position != sizeof out) {
            Fail("Generate did not advance by what it made");
        }
    }
    return 0;
}
