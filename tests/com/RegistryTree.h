#pragma once
// Helpers for tests that look at the whole registry: a flat picture of a root and a wipe.

#include "platform/registry/Registry.h"

#include <cstdio>
#include <set>
#include <string>

/// Every key of `root` as "Path", every value as "Path|Name=text" ("@" for the default
/// value, "dword:N" for numbers).
inline std::set<std::string> RegistryTree(Registry& registry, RegistryRoot root,
                                          const std::string& path = "") {
    std::set<std::string> lines;
    if (!path.empty()) {
        lines.insert(path);
    }
    for (const std::string& name : registry.ValueNames(root, path)) {
        const RegistryValue value = *registry.GetValue(root, path, name);
        lines.insert(path + "|" + (name.empty() ? "@" : name) + "=" +
                     (value.type == RegistryValue::Type::String
                          ? value.text
                          : "dword:" + std::to_string(value.number)));
    }
    for (const std::string& key : registry.SubKeyNames(root, path)) {
        lines.merge(RegistryTree(registry, root, path.empty() ? key : path + "\\" + key));
    }
    return lines;
}

inline void WipeRegistry(Registry& registry) {
    for (RegistryRoot root : {RegistryRoot::ClassesRoot, RegistryRoot::CurrentUser}) {
        for (const std::string& key : registry.SubKeyNames(root, "")) {
            registry.DeleteKey(root, key);
        }
        for (const std::string& name : registry.ValueNames(root, "")) {
            registry.DeleteValue(root, "", name);
        }
    }
}
