#pragma once
// Finds and loads the component library that serves a class: the one named under
// CLSID\{...}\InprocServer32 in the registry (an absolute path; any other is refused), or,
// for a class that is not registered (a fresh build, an install without a registration
// step), the shared library in the program's own folder whose exported class list
// (TavsimServerClasses, ServerExports.h) names it. The folder's libraries are only read to
// find their lists, never loaded for it. Libraries stay loaded for the life of the process.

#include "platform/com/Guid.h"
#include "platform/com/HResult.h"
#include "platform/com/ServerExports.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class InprocServerLoader {
public:
    static InprocServerLoader& Instance();

    /// The class object of `clsid` as interface riid. E_POINTER without ppv;
    /// REGDB_E_CLASSNOTREG when no library serves the class; CO_E_DLLNOTFOUND when the
    /// registered library cannot be loaded and none beside the program serves the class;
    /// otherwise what the library answered. `error` says what failed, naming the class and
    /// the file.
    HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** ppv, std::string& error);
    /// The class of a ProgID: from the registry (ProgID\CLSID, or through ProgID\CurVer),
    /// else from the libraries beside the program. E_POINTER without clsid;
    /// CO_E_CLASSSTRING when no class has this ProgID.
    HRESULT ClassFromProgID(std::string_view progId, CLSID* clsid, std::string& error);

    /// The folder of the running program (/proc/self/exe), without a trailing '/'.
    static std::string ProgramFolder();
    /// Whether the ELF shared object at `path` defines (exports) the function `name`. Reads
    /// only the file's headers and dynamic symbol table; false for anything that is not a
    /// readable ELF file of this machine.
    static bool ExportsFunction(const std::string& path, std::string_view name);
    /// The text (up to its first zero) of the exported data symbol `name` of the ELF shared
    /// object at `path`, read from the file without loading it; nullopt when there is none.
    static std::optional<std::string> ExportedText(const std::string& path, std::string_view name);

private:
    struct Library {
        std::string path;
        void* handle = nullptr;
        DllGetClassObjectFunction getClassObject = nullptr;
        TavsimClassFromProgIDFunction classFromProgId = nullptr;
    };

    InprocServerLoader() = default;
    const Library* Load(const std::string& path, std::string& error);
    /// Libraries beside the program whose class list names `clsid` or `progId`.
    std::vector<std::string> FolderLibraries(const std::string& clsid, std::string_view progId);

    std::mutex mutex_;
    std::map<std::string, std::unique_ptr<Library>> libraries_;
    /// Path of each library beside the program, with its class list.
    std::optional<std::map<std::string, std::string>> folderLibraries_;
};
