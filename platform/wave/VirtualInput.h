#pragma once
// Virtual wave inputs for tests and demonstrations, described in one line of text (the
// environment variable TAVSIM_WAVE_INPUTS):
//
//   NAME=SOURCE;NAME=SOURCE;...
//
// with SOURCE one of
//   tone:HZ:AMPLITUDE   a sine around 128 of HZ hertz (0 < HZ <= 22050) and AMPLITUDE sample
//                       units (a whole number 0 to 127)
//   silence             every byte 128
//   file:PATH           a regular WAV file (see WavFile; no FIFO or device), converted to
//                       the capture format and played in a loop
//   noformat            a device that cannot deliver the capture format (mask 0)

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct VirtualInput {
    enum class Kind { Tone, Silence, File, NoFormat };

    /// The product name, cut to at most 31 bytes at a character boundary.
    std::string name;
    Kind kind = Kind::Silence;
    double hz = 0.0;
    int amplitude = 0;
    /// For File: the whole file in the capture format (44.1 kHz mono 8-bit), never empty.
    std::vector<std::uint8_t> loop;

    /// The inputs of `list`, in order. Empty entries (as after a final ';') are skipped. An
    /// entry that cannot be used is left out and described in *errors (in Dutch, naming the
    /// entry); WAV files are read here.
    static std::vector<VirtualInput> ParseList(std::string_view list,
                                               std::vector<std::string>* errors);

    /// Fills `out` with the next samples of this input; `position` counts the samples made
    /// so far and is advanced.
    void Generate(std::uint8_t* out, std::size_t count, std::uint64_t& position) const;
};
