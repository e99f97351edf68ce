#pragma once
// Runs registry scripts (see RegistryScript) against the registry, in registering or
// unregistering mode.
//
// Registering: ForceRemove deletes the key with its subkeys first; every key is created and
// gets its default value and named values; Delete keys are deleted.
// Unregistering: every key of the script is deleted with its subkeys, except NoRemove keys,
// which stay (with their default value) while the script's named values in them are deleted
// and their subkeys are handled the same way. Delete keys are left alone. What is already
// gone is not an error.

#include "platform/com/HResult.h"
#include "platform/com/RegistryScript.h"

#include <map>
#include <string>
#include <string_view>

class Registrar {
public:
    /// Works on `registry`, by default the process-wide one.
    explicit Registrar(Registry& registry = Registry::Instance());

    /// Makes %name% in scripts stand for `value`.
    void AddReplacement(std::string name, std::string value);

    /// Runs `script` in registering mode. The registry is saved once at the end (or by an
    /// enclosing batch). E_FAIL for a script that cannot be parsed (nothing is written),
    /// E_ACCESSDENIED when the registry refuses a change or cannot be saved; LastError()
    /// then says why.
    HRESULT Register(std::string_view script);
    /// Runs `script` in unregistering mode; results as Register.
    HRESULT Unregister(std::string_view script);

    const std::string& LastError() const { return lastError_; }

private:
    HRESULT Run(std::string_view script, bool registering);
    bool RegisterKey(RegistryRoot root, const std::string& parent, const RegistryScript::Key& key);
    bool UnregisterKey(RegistryRoot root, const std::string& parent,
                       const RegistryScript::Key& key);
    bool Check(RegistryStatus status, bool missingIsFine);

    Registry& registry_;
    std::map<std::string, std::string> variables_;
    std::string lastError_;
};
