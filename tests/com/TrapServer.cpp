// A component library that must never be loaded: it lies beside the test programs, exports
// DllGetClassObject but lists no class, and marks the process when its initialiser runs.
#include "platform/com/ServerExports.h"

#include <cstdlib>

namespace {

__attribute__((constructor)) void MarkLoaded() {
    ::setenv("TAVSIM_TRAP_LOADED", "1", 1);
}

} // namespace

TAVSIM_SERVER_EXPORT HRESULT DllGetClassObject(REFCLSID, REFIID, void** ppv) {
    if (ppv != nullptr) {
        *ppv = nullptr;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}
