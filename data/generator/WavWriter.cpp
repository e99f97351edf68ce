#include "data/generator/WavWriter.h"

#include "data/generator/BinaryFile.h"

std::vector<std::uint8_t> WavWriter::Encode(const std::vector<std::int16_t>& samples,
                                            std::uint32_t sampleRate) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(44 + dataBytes);
    BinaryFile::PutTag(bytes, "RIFF");
    BinaryFile::Put(bytes, 36 + dataBytes, 4);
    BinaryFile::PutTag(bytes, "WAVE");
    BinaryFile::PutTag(bytes, "fmt ");
    BinaryFile::Put(bytes, 16, 4);
    BinaryFile::Put(bytes, 1, 2); // PCM
    BinaryFile::Put(bytes, 1, 2); // mono
    BinaryFile::Put(bytes, sampleRate, 4);
    BinaryFile::Put(bytes, sampleRate * 2, 4); // bytes per second
    BinaryFile::Put(bytes, 2, 2);              // bytes per sample frame
    BinaryFile::Put(bytes, 16, 2);
    BinaryFile::PutTag(bytes, "data");
    BinaryFile::Put(bytes, dataBytes, 4);
    for (std::int16_t s : samples) {
        BinaryFile::Put(bytes, static_cast<std::uint16_t>(s), 2);
    }
    return bytes;
}

void WavWriter::Write(const std::vector<std::int16_t>& samples, std::uint32_t sampleRate,
                      const std::string& path) {
    BinaryFile::Write(path, Encode(samples, sampleRate));
}
