// tavsim-regsvr [-u] LIBRARY
// Loads a component library and calls its DllRegisterServer (or, with -u,
// DllUnregisterServer). Prints one line saying how it went; exit status 0 on success, 1 when
// the library cannot be loaded or its function fails, 2 for wrong use.

#include "platform/com/ServerExports.h"
#include "platform/registry/Registry.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <string>

int main(int argc, char** argv) {
    bool unregister = false;
    const char* library = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-u") == 0 && library == nullptr && !unregister) {
            unregister = true;
        } else if (library == nullptr && argv[i][0] != '-') {
            library = argv[i];
        } else {
            library = nullptr;
            break;
        }
    }
    if (library == nullptr) {
        std::fprintf(stderr, "Gebruik: tavsim-regsvr [-u] BIBLIOTHEEK\n");
        return 2;
    }
    // The library registers the path it was loaded from, so load it by its full path; a bare
    // name means the file in the current folder, never one on the library search path.
    char resolved[PATH_MAX];
    std::string path = realpath(library, resolved) != nullptr ? resolved : library;
    if (path.find('/') == std::string::npos) {
        path = "./" + path;
    }
    const char* function = unregister ? "DllUnregisterServer" : "DllRegisterServer";

    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        std::fprintf(stderr, "%s kan niet worden geladen: %s\n", path.c_str(),
                     why != nullptr ? why : "onbekende fout");
        return 1;
    }
    auto entry = reinterpret_cast<DllRegisterServerFunction>(dlsym(handle, function));
    if (entry == nullptr) {
        std::fprintf(stderr, "%s heeft geen %s.\n", path.c_str(), function);
        return 1;
    }
    const HRESULT hr = entry();
    if (FAILED(hr)) {
        std::fprintf(stderr, "%s in %s is mislukt (foutcode %08x).\n", function, path.c_str(),
                     static_cast<unsigned>(hr));
        if (const std::string saveError = Registry::Instance().LastSaveError();
            !saveError.empty()) {
            std::fprintf(stderr, "%s\n", saveError.c_str());
        }
        return 1;
    }
    std::printf("%s in %s is gelukt.\n", function, path.c_str());
    return 0;
}
