#include "platform/com/Registrar.h"

#include "platform/registry/RegistryBatch.h"

namespace {

std::string Join(const std::string& parent, const std::string& name) {
    return parent.empty() ? name : parent + '\\' + name;
}

} // namespace

Registrar::Registrar(Registry& registry) : registry_(registry) {}

void Registrar::AddReplacement(std::string name, std::string value) {
    variables_[std::move(name)] = std::move(value);
}

HRESULT Registrar::Register(std::string_view script) {
    return Run(script, true);
}

HRESULT Registrar::Unregister(std::string_view script) {
    return Run(script, false);
}

bool Registrar::Check(RegistryStatus status, bool missingIsFine) {
    if (status.ok() || (missingIsFine && status.code == RegistryStatus::Code::NotFound)) {
        return true;
    }
    if (lastError_.empty()) {
        lastError_ = std::move(status.message);
    }
    return false;
}

HRESULT Registrar::Run(std::string_view script, bool registering) {
    lastError_.clear();
    std::string parseError;
    const std::optional<RegistryScript> parsed =
        RegistryScript::Parse(script, variables_, &parseError);
    if (!parsed) {
        lastError_ = "Registerscript onleesbaar: " + parseError;
        return E_FAIL;
    }
    RegistryBatch batch(registry_);
    bool ok = true;
    for (const RegistryScript::Root& root : parsed->roots) {
        for (const RegistryScript::Value& value : root.values) {
            ok =
                ok && (registering
                           ? Check(registry_.SetValue(root.root, "", value.name, value.data), false)
                           : Check(registry_.DeleteValue(root.root, "", value.name), true));
        }
        for (const RegistryScript::Key& key : root.keys) {
            ok = ok && (registering ? RegisterKey(root.root, "", key)
                                    : UnregisterKey(root.root, "", key));
        }
    }
    // Whatever was done before a failure is still saved, so the registry on disk matches
    // the one in memory.
    const bool saved = Check(batch.Commit(), false);
    return ok && saved ? S_OK : E_ACCESSDENIED;
}

bool Registrar::RegisterKey(RegistryRoot root, const std::string& parent,
                            const RegistryScript::Key& key) {
    using Flag = RegistryScript::Key::Flag;
    const std::string path = Join(parent, key.name);
    if (key.flag == Flag::Delete) {
        return Check(registry_.DeleteKey(root, path), true);
    }
    if (key.flag == Flag::ForceRemove && !Check(registry_.DeleteKey(root, path), true)) {
        return false;
    }
    if (!Check(registry_.CreateKey(root, path), false)) {
        return false;
    }
    if (key.defaultValue && !Check(registry_.SetValue(root, path, "", *key.defaultValue), false)) {
        return false;
    }
    for (const RegistryScript::Value& value : key.values) {
        if (!Check(registry_.SetValue(root, path, value.name, value.data), false)) {
            return false;
        }
    }
    for (const RegistryScript::Key& sub : key.subkeys) {
        if (!RegisterKey(root, path, sub)) {
            return false;
        }
    }
    return true;
}

bool Registrar::UnregisterKey(RegistryRoot root, const std::string& parent,
                              const RegistryScript::Key& key) {
    using Flag = RegistryScript::Key::Flag;
    const std::string path = Join(parent, key.name);
    switch (key.flag) {
    case Flag::Delete:
        return true;
    case Flag::NoRemove:
        for (const RegistryScript::Value& value : key.values) {
            if (!Check(registry_.DeleteValue(root, path, value.name), true)) {
                return false;
            }
        }
        for (const RegistryScript::Key& sub : key.subkeys) {
            if (!UnregisterKey(root, path, sub)) {
                return false;
            }
        }
        return true;
    case Flag::None:
    case Flag::ForceRemove:
        break;
    }
    return Check(registry_.DeleteKey(root, path), true);
}
