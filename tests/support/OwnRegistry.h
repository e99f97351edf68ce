#pragma once
// Test and benchmark programs never touch the user's own registry. CTest names a registry
// file for every test; a program started by hand gets one of its own in a new temporary
// folder, removed when the program ends.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

/// When TAVSIM_REGISTRY is unset or empty, points it at a registry file in a new temporary
/// folder. Call it first in main(), before anything reads the registry. Ends the program
/// when no such folder can be made, rather than fall back to the user's registry.
inline void UseOwnRegistryUnlessSet() {
    if (const char* set = std::getenv("TAVSIM_REGISTRY"); set != nullptr && *set != '\0') {
        return;
    }
    static std::string folder;
    std::error_code ec;
    folder = (std::filesystem::temp_directory_path(ec) / "tavsim-registry-XXXXXX").string();
    if (ec || ::mkdtemp(folder.data()) == nullptr) {
        std::fprintf(stderr, "Geen tijdelijke map voor het register te maken\n");
        std::exit(2);
    }
    ::setenv("TAVSIM_REGISTRY", (folder + "/registry.reg").c_str(), 1);
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    });
}
