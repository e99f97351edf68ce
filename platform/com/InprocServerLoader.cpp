#include "platform/com/InprocServerLoader.h"

#include "platform/errors/SystemError.h"
#include "platform/registry/Registry.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <filesystem>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

/// Reads exactly `size` bytes at `offset`; false when the file is shorter.
bool ReadAt(int fd, std::uint64_t fileSize, std::uint64_t offset, void* out, std::size_t size) {
    if (offset > fileSize || size > fileSize - offset) {
        return false;
    }
    auto* bytes = static_cast<char*>(out);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, bytes + done, size - done, static_cast<off_t>(offset + done));
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string RealPath(const std::string& path) {
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

/// The dynamic symbol tables of real libraries are far below this; larger claims are
/// treated as a damaged file.
constexpr std::uint64_t kMaxTableSize = 64ull << 20;
/// A class list is a few lines; anything larger is not one.
constexpr std::uint64_t kMaxExportedText = 64ull << 10;

} // namespace

InprocServerLoader& InprocServerLoader::Instance() {
    static InprocServerLoader loader;
    return loader;
}

std::string InprocServerLoader::ProgramFolder() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        return ".";
    }
    return exe.parent_path().string();
}

namespace {

/// Looks in the dynamic symbol table of the ELF shared object at `path` for a defined,
/// exported symbol `name` that is a function (`function`) or a data object. For data, fills
/// `data` (when given) with its bytes up to the first zero. Reads the file only; nothing of
/// it is loaded or run.
bool FindExport(const std::string& path, std::string_view name, bool function, std::string* data) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        return false;
    }
    const auto size = static_cast<std::uint64_t>(st.st_size);
    ElfW(Ehdr) header{};
    if (!ReadAt(fd, size, 0, &header, sizeof header) ||
        std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != (sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32) ||
        header.e_type != ET_DYN || header.e_shentsize != sizeof(ElfW(Shdr))) {
        return false;
    }
    std::vector<ElfW(Shdr)> sections(header.e_shnum);
    if (sections.empty() ||
        !ReadAt(fd, size, header.e_shoff, sections.data(), sections.size() * sizeof(ElfW(Shdr)))) {
        return false;
    }
    for (const ElfW(Shdr) & table : sections) {
        if (table.sh_type != SHT_DYNSYM || table.sh_link >= sections.size() ||
            table.sh_size > kMaxTableSize || table.sh_entsize != sizeof(ElfW(Sym))) {
            continue;
        }
        const ElfW(Shdr)& strings = sections[table.sh_link];
        if (strings.sh_size > kMaxTableSize) {
            continue;
        }
        std::vector<ElfW(Sym)> symbols(table.sh_size / sizeof(ElfW(Sym)));
        std::string names(strings.sh_size, '\0');
        if (!ReadAt(fd, size, table.sh_offset, symbols.data(),
                    symbols.size() * sizeof(ElfW(Sym))) ||
            !ReadAt(fd, size, strings.sh_offset, names.data(), names.size())) {
            continue;
        }
        for (const ElfW(Sym) & symbol : symbols) {
            const unsigned binding = ELF64_ST_BIND(symbol.st_info);
            if (symbol.st_shndx == SHN_UNDEF ||
                ELF64_ST_TYPE(symbol.st_info) != (function ? STT_FUNC : STT_OBJECT) ||
                (binding != STB_GLOBAL && binding != STB_WEAK) || symbol.st_name >= names.size()) {
                continue;
            }
            const char* start = names.data() + symbol.st_name;
            const std::size_t length = ::strnlen(start, names.size() - symbol.st_name);
            if (std::string_view(start, length) != name) {
                continue;
            }
            if (function || data == nullptr) {
                return true;
            }
            // The bytes of a data symbol, found through the section that holds it.
            if (symbol.st_shndx >= sections.size() || symbol.st_size > kMaxExportedText) {
                return false;
            }
            const ElfW(Shdr)& holder = sections[symbol.st_shndx];
            if (holder.sh_type == SHT_NOBITS || symbol.st_value < holder.sh_addr ||
                symbol.st_value - holder.sh_addr > holder.sh_size ||
                symbol.st_size > holder.sh_size - (symbol.st_value - holder.sh_addr)) {
                return false;
            }
            std::string bytes(symbol.st_size, '\0');
            if (!ReadAt(fd, size, holder.sh_offset + (symbol.st_value - holder.sh_addr),
                        bytes.data(), bytes.size())) {
                return false;
            }
            bytes.resize(::strnlen(bytes.data(), bytes.size()));
            *data = std::move(bytes);
            return true;
        }
    }
    return false;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

/// Whether a class list (TavsimServerClasses) names `clsid`, or a class with the ProgID
/// `progId`, on one of its lines "{CLSID} ProgID.1 ProgID".
bool ListNames(std::string_view list, const std::string& clsid, std::string_view progId) {
    while (!list.empty()) {
        const std::size_t end = list.find('\n');
        std::string_view line = list.substr(0, end);
        list = end == std::string_view::npos ? std::string_view{} : list.substr(end + 1);
        for (bool first = true; !line.empty(); first = false) {
            const std::size_t space = line.find(' ');
            const std::string_view word = line.substr(0, space);
            line = space == std::string_view::npos ? std::string_view{} : line.substr(space + 1);
            if (first ? (!clsid.empty() && SameIgnoringCase(word, clsid))
                      : (!progId.empty() && SameIgnoringCase(word, progId))) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

bool InprocServerLoader::ExportsFunction(const std::string& path, std::string_view name) {
    return FindExport(path, name, true, nullptr);
}

std::optional<std::string> InprocServerLoader::ExportedText(const std::string& path,
                                                            std::string_view name) {
    std::string text;
    if (!FindExport(path, name, false, &text)) {
        return std::nullopt;
    }
    return text;
}

const InprocServerLoader::Library* InprocServerLoader::Load(const std::string& path,
                                                            std::string& error) {
    const std::string real = RealPath(path);
    if (auto it = libraries_.find(real); it != libraries_.end()) {
        return it->second.get();
    }
    struct stat st {};
    if (::stat(real.c_str(), &st) != 0) {
        error = "Bibliotheek " + path + " kan niet worden geladen: " + SystemError::Reason(errno);
        return nullptr;
    }
    void* handle = ::dlopen(real.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        // The loader's own text is English and technical: it goes to the log only.
        const char* why = ::dlerror();
        std::fprintf(stderr, "tavsim: %s: %s\n", path.c_str(), why != nullptr ? why : "?");
        error = "Bibliotheek " + path +
                " kan niet worden geladen: het is geen bruikbare bibliotheek voor dit systeem";
        return nullptr;
    }
    auto library = std::make_unique<Library>();
    library->path = real;
    library->handle = handle;
    library->getClassObject =
        reinterpret_cast<DllGetClassObjectFunction>(::dlsym(handle, "DllGetClassObject"));
    library->classFromProgId =
        reinterpret_cast<TavsimClassFromProgIDFunction>(::dlsym(handle, "TavsimClassFromProgID"));
    return libraries_.emplace(real, std::move(library)).first->second.get();
}

std::vector<std::string> InprocServerLoader::FolderLibraries(const std::string& clsid,
                                                             std::string_view progId) {
    if (!folderLibraries_) {
        // Only the files are read here; a library is loaded (and its initialisers run) only
        // when its class list names the class asked for.
        std::map<std::string, std::string> found;
        std::error_code ec;
        for (std::filesystem::directory_iterator it(ProgramFolder(), ec), end; !ec && it != end;
             it.increment(ec)) {
            const std::string file = it->path().string();
            if (it->path().extension() != ".so" || !it->is_regular_file(ec) ||
                !ExportsFunction(file, "DllGetClassObject")) {
                continue;
            }
            if (std::optional<std::string> list = ExportedText(file, kClassListSymbol)) {
                found.emplace(RealPath(file), std::move(*list));
            }
        }
        folderLibraries_ = std::move(found);
    }
    std::vector<std::string> serving;
    for (const auto& [path, list] : *folderLibraries_) {
        if (ListNames(list, clsid, progId)) {
            serving.push_back(path);
        }
    }
    return serving;
}

HRESULT InprocServerLoader::GetClassObject(REFCLSID clsid, REFIID riid, void** ppv,
                                           std::string& error) {
    if (ppv == nullptr) {
        return E_POINTER;
    }
    *ppv = nullptr;
    const std::string clsidText = clsid.ToString();
    const std::optional<std::string> registered = Registry::Instance().GetString(
        RegistryRoot::ClassesRoot, "CLSID\\" + clsidText + "\\InprocServer32", "");

    // The libraries are asked without holding the lock, since a library may create objects
    // of other libraries; once loaded, a library and its functions stay.
    std::string loadError;
    DllGetClassObjectFunction registeredFunction = nullptr;
    auto ask = [&](DllGetClassObjectFunction getClassObject, HRESULT& hr) {
        if (getClassObject == nullptr) {
            return false;
        }
        hr = getClassObject(clsid, riid, ppv);
        if (FAILED(hr) && hr != CLASS_E_CLASSNOTAVAILABLE) {
            error = "Klasse " + clsidText + " kan niet worden gemaakt";
        }
        return hr != CLASS_E_CLASSNOTAVAILABLE;
    };
    HRESULT hr = S_OK;
    if (registered && !registered->empty() && registered->front() != '/') {
        // A relative path would be taken from wherever the program was started, such as the
        // folder of a document that was double-clicked.
        loadError = "het pad \"" + *registered +
                    "\" onder InprocServer32 is niet absoluut en wordt niet geladen";
    } else if (registered && !registered->empty()) {
        {
            std::lock_guard lock(mutex_);
            if (const Library* library = Load(*registered, loadError)) {
                registeredFunction = library->getClassObject;
                if (registeredFunction == nullptr) {
                    loadError = "Bibliotheek " + *registered + " heeft geen DllGetClassObject";
                }
            }
        }
        if (ask(registeredFunction, hr)) {
            return hr;
        }
    }
    std::vector<std::string> paths;
    {
        std::lock_guard lock(mutex_);
        paths = FolderLibraries(clsidText, {});
    }
    for (const std::string& path : paths) {
        DllGetClassObjectFunction getClassObject = nullptr;
        {
            std::lock_guard lock(mutex_);
            std::string ignored;
            if (const Library* library = Load(path, ignored)) {
                getClassObject = library->getClassObject;
            }
        }
        if (getClassObject != registeredFunction && ask(getClassObject, hr)) {
            return hr;
        }
    }
    if (!loadError.empty()) {
        error = "Klasse " + clsidText + ": " + loadError;
        return CO_E_DLLNOTFOUND;
    }
    error = "Klasse " + clsidText + " is niet geregistreerd en geen bibliotheek in " +
            ProgramFolder() + " levert haar";
    return REGDB_E_CLASSNOTREG;
}

HRESULT InprocServerLoader::ClassFromProgID(std::string_view progId, CLSID* clsid,
                                            std::string& error) {
    if (clsid == nullptr) {
        return E_POINTER;
    }
    const std::string name(progId);
    if (name.empty() || name.find('\\') != std::string::npos ||
        name.find('\0') != std::string::npos) {
        error = "Ongeldige ProgID \"" + name + "\"";
        return CO_E_CLASSSTRING;
    }
    Registry& registry = Registry::Instance();
    const auto root = RegistryRoot::ClassesRoot;
    std::optional<std::string> text = registry.GetString(root, name + "\\CLSID", "");
    if (!text) {
        if (const auto current = registry.GetString(root, name + "\\CurVer", "");
            current && !current->empty() && current->find('\\') == std::string::npos) {
            text = registry.GetString(root, *current + "\\CLSID", "");
        }
    }
    if (text) {
        if (const std::optional<GUID> parsed = GUID::FromString(*text)) {
            *clsid = *parsed;
            return S_OK;
        }
    }
    std::vector<std::string> paths;
    {
        std::lock_guard lock(mutex_);
        paths = FolderLibraries({}, name);
    }
    for (const std::string& path : paths) {
        TavsimClassFromProgIDFunction classFromProgId = nullptr;
        {
            std::lock_guard lock(mutex_);
            std::string ignored;
            if (const Library* library = Load(path, ignored)) {
                classFromProgId = library->classFromProgId;
            }
        }
        if (classFromProgId != nullptr && classFromProgId(name.c_str(), clsid) == S_OK) {
            return S_OK;
        }
    }
    error = "ProgID \"" + name + "\" is niet geregistreerd en geen bibliotheek in " +
            ProgramFolder() + " kent haar";
    return CO_E_CLASSSTRING;
}
