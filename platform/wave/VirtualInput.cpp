#include "platform/wave/VirtualInput.h"

#include "platform/wave/CaptureConverter.h"
#include "platform/wave/WavFile.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <fcntl.h>
#include <numbers>
#include <sys/stat.h>
#include <unistd.h>

namespace {

/// The longest sound a file input plays before it starts again.
constexpr std::size_t kMaxLoopSeconds = 15 * 60;

/// Larger files are refused: a virtual input is a short loop, not a recording.
constexpr std::uintmax_t kMaxFileBytes = 32u * 1024u * 1024u;
constexpr std::size_t kMaxNameBytes = 31;

std::string CutName(std::string_view name) {
    if (name.size() <= kMaxNameBytes) {
        return std::string(name);
    }
    std::size_t end = kMaxNameBytes;
    // Do not cut inside a UTF-8 sequence: step back over continuation bytes.
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) {
        --end;
    }
    return std::string(name.substr(0, end));
}

template <class Number> bool ParseNumber(std::string_view text, Number& value) {
    if (text.empty()) {
        return false;
    }
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc{} && end == text.data() + text.size();
}

bool ReadFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& why) {
    // Only a regular file is read: opening a FIFO for reading waits for a writer, perhaps for
    // ever, and a device may never end.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        why = "bestand niet te openen: " + path;
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        why = "geen gewoon bestand: " + path;
        return false;
    }
    // Opened without waiting and looked at again, in case the path was replaced meanwhile.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        why = "bestand niet te openen: " + path;
        return false;
    }
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (!ok) {
        why = "geen gewoon bestand: " + path;
    } else if (info.st_size < 0 || static_cast<std::uintmax_t>(info.st_size) > kMaxFileBytes) {
        why = "bestand te groot of niet te lezen: " + path;
        ok = false;
    } else {
        bytes.resize(static_cast<std::size_t>(info.st_size));
        std::size_t done = 0;
        while (ok && done < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            ok = got > 0;
            done += ok ? static_cast<std::size_t>(got) : 0;
        }
        if (!ok) {
            why = "bestand niet te lezen: " + path;
        }
    }
    ::close(fd);
    return ok;
}

/// Parses one "NAME=SOURCE"; false with `why` set when it cannot be used.
bool ParseEntry(std::string_view entry, VirtualInput& input, std::string& why) {
    const std::size_t equals = entry.find('=');
    if (equals == std::string_view::npos) {
        why = "'=' ontbreekt";
        return false;
    }
    if (equals == 0) {
        why = "de naam ontbreekt";
        return false;
    }
    input.name = CutName(entry.substr(0, equals));
    const std::string_view source = entry.substr(equals + 1);
    if (source == "silence") {
        input.kind = VirtualInput::Kind::Silence;
        return true;
    }
    if (source == "noformat") {
        input.kind = VirtualInput::Kind::NoFormat;
        return true;
    }
    if (source.starts_with("tone:")) {
        const std::string_view rest = source.substr(5);
        const std::size_t colon = rest.find(':');
        double hz = 0.0;
        int amplitude = -1;
        if (colon == std::string_view::npos || !ParseNumber(rest.substr(0, colon), hz) ||
            !ParseNumber(rest.substr(colon + 1), amplitude)) {
            why = "verwacht tone:HZ:AMPLITUDE";
            return false;
        }
        if (!(hz > 0.0 && hz <= 22050.0)) {
            why = "frequentie buiten 0 tot 22050 Hz";
            return false;
        }
        if (amplitude < 0 || amplitude > 127) {
            why = "amplitude buiten 0 tot 127";
            return false;
        }
        input.kind = VirtualInput::Kind::Tone;
        input.hz = hz;
        input.amplitude = amplitude;
        return true;
    }
    if (source.starts_with("file:")) {
        const std::string path(source.substr(5));
        std::vector<std::uint8_t> bytes;
        if (path.empty()) {
            why = "het pad ontbreekt";
            return false;
        }
        if (!ReadFile(path, bytes, why)) {
            return false;
        }
        std::string error;
        const std::optional<WavFile> wav = WavFile::Parse(bytes, &error);
        if (!wav) {
            why = path + ": " + error;
            return false;
        }
        // The loop is kept whole at 44.1 kHz, so a long file, or one with a tiny sample rate,
        // could ask for more memory than the machine has.
        if (wav->sampleRate == 0 || wav->Frames() / wav->sampleRate >= kMaxLoopSeconds) {
            why = path + ": te lang (een virtuele invoer speelt hoogstens 15 minuten)";
            return false;
        }
        CaptureConverter converter(wav->sampleRate, wav->channels);
        converter.Push(wav->samples, input.loop);
        if (input.loop.empty()) {
            why = path + ": te kort";
            return false;
        }
        input.kind = VirtualInput::Kind::File;
        return true;
    }
    why = "onbekende bron (tone:HZ:AMPLITUDE, silence, file:PAD of noformat)";
    return false;
}

} // namespace

std::vector<VirtualInput> VirtualInput::ParseList(std::string_view list,
                                                  std::vector<std::string>* errors) {
    std::vector<VirtualInput> inputs;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find(';', start), list.size());
        const std::string_view entry = list.substr(start, end - start);
        start = end + 1;
        if (entry.empty()) {
            continue;
        }
        VirtualInput input;
        std::string why;
        if (ParseEntry(entry, input, why)) {
            inputs.push_back(std::move(input));
        } else if (errors != nullptr) {
            errors->push_back("TAVSIM_WAVE_INPUTS: invoer '" + std::string(entry) +
                              "' overgeslagen: " + why);
        }
    }
    return inputs;
}

void VirtualInput::Generate(std::uint8_t* out, std::size_t count, std::uint64_t& position) const {
    for (std::size_t i = 0; i < count; ++i, ++position) {
        switch (kind) {
        case Kind::Tone: {
            // The phase is reduced first, so that hours of tone stay as exact as the first
            // second.
            const double cycles = std::fmod(static_cast<double>(position) * hz, 44100.0);
            const double angle = 2.0 * std::numbers::pi * cycles / 44100.0;
            out[i] = static_cast<std::uint8_t>(std::lround(128.0 + amplitude * std::sin(angle)));
            break;
        }
        case Kind::File:
            out[i] = loop[position % loop.size()];
            break;
        case Kind::Silence:
        case Kind::NoFormat:
            out[i] = 128;
            break;
        }
    }
}
