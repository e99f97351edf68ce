// The registry-script parser on any text, and the registrar running what it accepts,
// registering and then unregistering, against a registry file of its own.

#include "fuzz/support/FuzzTempFile.h"
#include "platform/com/Registrar.h"
#include "platform/com/RegistryScript.h"
#include "platform/registry/Registry.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    static const std::map<std::string, std::string> variables{
        {"MODULE", "/usr/lib/tavsim/libfuzz.so"}};
    std::string error;
    const std::optional<RegistryScript> script = RegistryScript::Parse(text, variables, &error);
    if (!script) {
        if (error.empty()) {
            std::fprintf(stderr, "registry script: refused without saying why\n");
            std::abort();
        }
        return 0;
    }
    static const FuzzTempFile file(".reg");
    file.Write(nullptr, 0);
    Registry registry(file.Path());
    Registrar registrar(registry);
    registrar.AddReplacement("MODULE", "/usr/lib/tavsim/libfuzz.so");
    registry.BeginBatch();
    if (FAILED(registrar.Register(text))) {
        std::fprintf(stderr, "registry script: %s\n", registrar.LastError().c_str());
        // A script that parses is refused only by the registry itself (a bad key name).
    }
    registrar.Unregister(text);
    registry.Reload(); // forgets the batch: nothing is saved
    return 0;
}
