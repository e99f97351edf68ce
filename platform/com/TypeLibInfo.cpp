#include "platform/com/TypeLibInfo.h"

#include "platform/registry/Registry.h"
#include "platform/registry/RegistryBatch.h"

#include <cstdio>

namespace {

/// The automation marshaler that serves every dual interface.
constexpr std::string_view kAutomationProxyStub = "{00020424-0000-0000-C000-000000000046}";

} // namespace

std::string TypeLibInfo::VersionKey() const {
    char text[16];
    std::snprintf(text, sizeof text, "%x.%x", static_cast<unsigned>(majorVersion),
                  static_cast<unsigned>(minorVersion));
    return text;
}

HRESULT TypeLibInfo::Register(const std::string& libraryPath, std::string* error) const {
    Registry& registry = Registry::Instance();
    RegistryBatch batch(registry);
    const auto root = RegistryRoot::ClassesRoot;
    const std::string libid = this->libid.ToString();
    const std::string version = VersionKey();
    const std::string libKey = "TypeLib\\" + libid + "\\" + version;
    const std::size_t slash = libraryPath.rfind('/');
    const std::string helpDir =
        slash == std::string::npos ? std::string{} : libraryPath.substr(0, slash == 0 ? 1 : slash);

    RegistryStatus status;
    auto step = [&](RegistryStatus s) {
        if (status.ok() && !s.ok()) {
            status = std::move(s);
        }
    };
    step(registry.SetString(root, libKey, "", std::string(description)));
    step(registry.SetString(root, libKey + "\\0\\win32", "", libraryPath));
    step(registry.SetString(root, libKey + "\\FLAGS", "", "0"));
    step(registry.SetString(root, libKey + "\\HELPDIR", "", helpDir));
    for (const TypeLibInterface& itf : interfaces) {
        const std::string key = "Interface\\" + itf.iid.ToString();
        step(registry.SetString(root, key, "", std::string(itf.name)));
        step(registry.SetString(root, key + "\\ProxyStubClsid", "",
                                std::string(kAutomationProxyStub)));
        step(registry.SetString(root, key + "\\ProxyStubClsid32", "",
                                std::string(kAutomationProxyStub)));
        step(registry.SetString(root, key + "\\TypeLib", "", libid));
        step(registry.SetString(root, key + "\\TypeLib", "Version", version));
    }
    step(batch.Commit());
    if (!status) {
        if (error != nullptr) {
            *error = "Typebibliotheek " + std::string(name) + " " + libid +
                     " kon niet worden geregistreerd: " + status.message;
        }
        return TYPE_E_REGISTRYACCESS;
    }
    return S_OK;
}
