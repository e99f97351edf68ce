// Runs fuzz targets without libFuzzer: every file named on the command line, or found
// directly inside a folder named there (except names beginning with a dot), is fed once to
// LLVMFuzzerTestOneInput. A fault shows as a crash or a sanitizer report, as it would while
// fuzzing. Fails when no input at all was found, so that a lost corpus does not pass unnoticed.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

bool RunFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return false;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    // A copy of its own, exactly as long as the input, so that reading past it is caught.
    std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
    std::fprintf(stderr, "%s (%zu bytes)\n", path.c_str(), data.size());
    LLVMFuzzerTestOneInput(data.empty() ? nullptr : data.data(), data.size());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::size_t ran = 0;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const fs::path given(argv[i]);
        std::error_code ec;
        if (fs::is_directory(given, ec)) {
            std::vector<fs::path> files;
            for (const auto& entry : fs::directory_iterator(given, ec)) {
                // Names beginning with a dot (.gitkeep) are not inputs.
                if (entry.is_regular_file() && !entry.path().filename().string().starts_with('.')) {
                    files.push_back(entry.path());
                }
            }
            std::sort(files.begin(), files.end());
            for (const fs::path& file : files) {
                ok = RunFile(file) && ok;
                ++ran;
            }
        } else if (fs::exists(given, ec)) {
            ok = RunFile(given) && ok;
            ++ran;
        }
    }
    std::fprintf(stderr, "%zu inputs ran\n", ran);
    if (ran == 0) {
        std::fprintf(stderr, "no inputs found\n");
        return 1;
    }
    return ok ? 0 : 1;
}
