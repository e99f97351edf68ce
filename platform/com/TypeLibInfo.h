#pragma once
// What a component library registers about its type library: the library itself under
// TypeLib\{LIBID}\<version> and each of its dual interfaces under Interface\{IID}.

#include "platform/com/Guid.h"
#include "platform/com/HResult.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TypeLibInterface {
    IID iid;
    /// The interface's name, e.g. "IKaleidPixload"; the default value of Interface\{IID}.
    std::string_view name;
};

struct TypeLibInfo {
    GUID libid;
    /// e.g. "PIXLOADLib".
    std::string_view name;
    /// e.g. "pixload 1.0 Type Library"; the default value of the version key.
    std::string_view description;
    std::uint16_t majorVersion = 1;
    std::uint16_t minorVersion = 0;
    std::vector<TypeLibInterface> interfaces;

    /// "1.0": major and minor in hexadecimal, as the version key is named.
    std::string VersionKey() const;

    /// Writes, under the classes root:
    ///   TypeLib\{LIBID}\<ver> = description, with 0\win32 = libraryPath, FLAGS = "0" and
    ///   HELPDIR = the library's folder;
    ///   Interface\{IID} = name, with ProxyStubClsid and ProxyStubClsid32 = the automation
    ///   marshaler, and TypeLib = {LIBID} with Version = <ver>.
    /// TYPE_E_REGISTRYACCESS with *error set when the registry cannot be written.
    HRESULT Register(const std::string& libraryPath, std::string* error = nullptr) const;
};
