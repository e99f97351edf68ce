#include "platform/registry/Registry.h"

#include "platform/errors/SystemError.h"
#include "platform/files/DurableFile.h"
#include "platform/files/DurableFileError.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

struct Registry::Node {
    std::string name;
    /// Keyed by the folded name, so lookups ignore case and enumeration is sorted.
    std::map<std::string, std::unique_ptr<Node>> children;
    std::map<std::string, std::pair<std::string, RegistryValue>> values;
    /// A line (or a value continued over several lines) of the file under this key that the
    /// registry does not understand, kept as it was. It is written after the value it
    /// followed in the file, or where that value would be when it is gone.
    struct Kept {
        bool anchored = false; // false: before every value
        std::string anchor;    // folded name of the value it followed
        std::string text;
    };
    std::vector<Kept> kept;
    /// Kept lines that must follow all values: a section the registry does not understand,
    /// with its lines, or a continued line left open.
    std::vector<std::string> tail;
    /// Only on the classes root: kept lines before the first section of the file.
    std::vector<std::string> preamble;

    Node() = default;
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;
    /// Frees the subtree level by level from a list, so that depth costs no stack.
    ~Node() {
        std::vector<std::unique_ptr<Node>> pending;
        for (auto& [folded, child] : children) {
            pending.push_back(std::move(child));
        }
        children.clear();
        while (!pending.empty()) {
            std::unique_ptr<Node> node = std::move(pending.back());
            pending.pop_back();
            for (auto& [folded, child] : node->children) {
                pending.push_back(std::move(child));
            }
            node->children.clear();
        }
    }
};

namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kClassesRootName = "HKEY_CLASSES_ROOT";
constexpr std::string_view kCurrentUserName = "HKEY_CURRENT_USER";

std::string Fold(std::string_view s) {
    std::string r(s);
    for (char& c : r) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return r;
}

bool SameFolded(std::string_view a, std::string_view b) {
    return Fold(a) == Fold(b);
}

bool HasControlCharacter(std::string_view name) {
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            return true;
        }
    }
    return false;
}

/// Splits a key path at `\`; false when a key name in it is empty, too long or holds a
/// control character, or when the path is deeper than a key may lie.
bool SplitPath(std::string_view path, std::vector<std::string_view>& parts) {
    parts.clear();
    if (path.empty()) {
        return true;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t end = path.find('\\', start);
        const std::string_view part = path.substr(start, end - start);
        if (part.empty() || part.size() > Registry::kMaxKeyNameLength ||
            parts.size() == Registry::kMaxKeyDepth || HasControlCharacter(part)) {
            return false;
        }
        parts.push_back(part);
        if (end == std::string_view::npos) {
            return true;
        }
        start = end + 1;
    }
}

RegistryStatus BadName(std::string_view path) {
    return {RegistryStatus::Code::BadName,
            "Ongeldige registersleutel: \"" + std::string(path) + "\""};
}

RegistryStatus BadValueName(std::string_view name) {
    return {RegistryStatus::Code::BadName,
            "Ongeldige naam van een registerwaarde: \"" + std::string(name) + "\""};
}

RegistryStatus KeyNotFound(std::string_view path) {
    return {RegistryStatus::Code::NotFound,
            "Registersleutel niet gevonden: \"" + std::string(path) + "\""};
}

std::string Escape(std::string_view s) {
    std::string r;
    r.reserve(s.size() + 2);
    for (char c : s) {
        switch (c) {
        case '\\':
            r += "\\\\";
            break;
        case '"':
            r += "\\\"";
            break;
        case '\n':
            r += "\\n";
            break;
        case '\r':
            r += "\\r";
            break;
        default:
            r += c;
        }
    }
    return r;
}

/// Reads a quoted string starting at s[pos] == '"'; on success pos is just past the closing
/// quote.
bool ReadQuoted(std::string_view s, std::size_t& pos, std::string& out) {
    out.clear();
    if (pos >= s.size() || s[pos] != '"') {
        return false;
    }
    for (std::size_t i = pos + 1; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"') {
            pos = i + 1;
            return true;
        }
        if (c == '\\' && i + 1 < s.size()) {
            const char n = s[++i];
            switch (n) {
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case '\\':
            case '"':
                out += n;
                break;
            default:
                out += '\\';
                out += n;
            }
            continue;
        }
        out += c;
    }
    return false;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

bool ParseDword(std::string_view digits, std::uint32_t& out) {
    if (digits.empty() || digits.size() > 8) {
        return false;
    }
    std::uint32_t v = 0;
    for (char c : digits) {
        int d = -1;
        if (c >= '0' && c <= '9') {
            d = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            d = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            d = c - 'A' + 10;
        } else {
            return false;
        }
        v = v * 16 + static_cast<std::uint32_t>(d);
    }
    out = v;
    return true;
}

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr) {
        return pw->pw_dir;
    }
    return ".";
}

} // namespace

Registry& Registry::Instance() {
    static Registry instance(DefaultFilePath());
    return instance;
}

std::string Registry::DefaultFilePath() {
    if (const char* path = std::getenv("TAVSIM_REGISTRY"); path != nullptr && *path != '\0') {
        return path;
    }
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/') {
        config = xdg;
    } else {
        config = HomeFolder() + "/.config";
    }
    return config + "/tavsim/registry.reg";
}

Registry::Registry(std::string filePath)
    : filePath_(std::move(filePath)), classesRoot_(std::make_unique<Node>()),
      currentUser_(std::make_unique<Node>()) {
    classesRoot_->name = kClassesRootName;
    currentUser_->name = kCurrentUserName;
}

Registry::~Registry() {
    if (dirty_) {
        const RegistryStatus status = Save();
        if (!status) {
            std::fprintf(stderr, "%s\n", status.message.c_str());
        }
    }
}

Registry::Node* Registry::RootNode(RegistryRoot root) {
    return root == RegistryRoot::ClassesRoot ? classesRoot_.get() : currentUser_.get();
}

Registry::Node* Registry::Find(RegistryRoot root, std::string_view path) {
    std::vector<std::string_view> parts;
    if (!SplitPath(path, parts)) {
        return nullptr;
    }
    Node* node = RootNode(root);
    for (std::string_view part : parts) {
        auto it = node->children.find(Fold(part));
        if (it == node->children.end()) {
            return nullptr;
        }
        node = it->second.get();
    }
    return node;
}

Registry::Node* Registry::CreatePath(Node* node, const std::vector<std::string_view>& parts,
                                     bool& created) {
    for (std::string_view part : parts) {
        auto& child = node->children[Fold(part)];
        if (!child) {
            child = std::make_unique<Node>();
            child->name = part;
            created = true;
        }
        node = child.get();
    }
    return node;
}

namespace {

/// Why `text` is no registry file at all (NUL bytes, or a first line that is not a registry
/// header), or empty when it is one. A file holding nothing but blanks is an empty registry.
std::string WhyNotRegistryText(std::string_view text) {
    if (text.find('\0') != std::string_view::npos) {
        return "het bevat nul-bytes";
    }
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = Trim(text.substr(0, end));
        if (!line.empty()) {
            return line == kHeader || line == kHeader5 ? std::string()
                                                       : "de eerste regel is niet REGEDIT4";
        }
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
    return {};
}

/// Moves the file at `path`, when it is still the one read (`read`), to the first free name
/// of `path` + ".beschadigd", ".beschadigd.1", ... without ever replacing a file, and says so
/// on stderr. False with the error number when it stays where it is.
bool SetAside(const std::string& path, const struct stat& read, const std::string& why,
              int& error) {
    struct stat now {};
    if (::stat(path.c_str(), &now) != 0 || now.st_dev != read.st_dev || now.st_ino != read.st_ino) {
        return true; // replaced or set aside by another program meanwhile
    }
    for (int i = 0; i < 1000; ++i) {
        const std::string aside = path + ".beschadigd" + (i == 0 ? "" : "." + std::to_string(i));
        int result = ::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE);
        if (result != 0 && (errno == EINVAL || errno == ENOSYS)) {
            // A file system without that kind of rename: a new name, then the old one goes.
            result = ::link(path.c_str(), aside.c_str());
            if (result == 0) {
                ::unlink(path.c_str());
            }
        }
        if (result == 0) {
            std::fprintf(stderr,
                         "Register %s is geen registerbestand (%s): bewaard als %s; het register "
                         "begint leeg\n",
                         path.c_str(), why.c_str(), aside.c_str());
            return true;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    error = errno;
    std::fprintf(stderr,
                 "Register %s is geen registerbestand (%s) en kan niet opzij worden gezet: %s; "
                 "het wordt niet overschreven\n",
                 path.c_str(), why.c_str(), SystemError::Reason(error).c_str());
    return false;
}

/// Reads the whole file; false with the error number when it cannot be read. A missing file
/// (or folder) reads as empty. A file that is no registry text is set aside (SetAside) and
/// reads as empty; false when it cannot be set aside.
bool ReadRegistryFile(const std::string& path, std::string& text, int& error) {
    text.clear();
    error = 0;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        error = errno;
        return error == ENOENT || error == ENOTDIR;
    }
    char buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        text.append(buffer, n);
    }
    const bool failed = std::ferror(f) != 0;
    error = failed ? (errno != 0 ? errno : EIO) : 0;
    struct stat read {};
    const bool known = ::fstat(::fileno(f), &read) == 0;
    std::fclose(f);
    if (failed) {
        return false;
    }
    if (const std::string why = WhyNotRegistryText(text); !why.empty() && known) {
        text.clear();
        return SetAside(path, read, why, error);
    }
    return true;
}

} // namespace

void Registry::EnsureLoaded() {
    if (loaded_) {
        return;
    }
    loaded_ = true;
    skippedLines_ = 0;
    loadError_.clear();
    std::string text;
    int error = 0;
    if (!ReadRegistryFile(filePath_, text, error)) {
        loadError_ = "Het register in " + filePath_ +
                     " kan niet worden gelezen: " + SystemError::Reason(error);
        return;
    }
    Parse(text);
}

void Registry::Parse(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    Node* section = nullptr;
    // Where kept lines go: the last section understood, or before all sections when null.
    Node* owner = nullptr;
    // Inside a section that is not understood: every line is kept after the owner's values.
    bool foreign = false;
    // Inside a key beyond the limits: its lines are dropped with it.
    bool dropped = false;
    const Node::Kept start;
    Node::Kept place = start;
    std::vector<std::string_view> parts;
    std::size_t droppedKeys = 0;
    auto nextLine = [&text]() {
        const std::size_t end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        while (!raw.empty() && raw.back() == '\r') {
            raw.remove_suffix(1);
        }
        return raw;
    };
    // Keeps `raw`, with the lines that continue it, as the owner's; a comment is no damage.
    auto keep = [&](std::string_view raw, bool damage = true) {
        skippedLines_ += damage ? 1 : 0;
        std::string kept(raw);
        bool open = !Trim(raw).empty() && Trim(raw).back() == '\\';
        // A blank line or a section ends a continued value, also one left open.
        auto continues = [&text] {
            const std::string_view next = Trim(text.substr(0, text.find('\n')));
            return !next.empty() && next.front() != '[';
        };
        while (open && continues()) {
            const std::string_view more = nextLine();
            ++skippedLines_;
            kept += '\n';
            kept += more;
            open = !Trim(more).empty() && Trim(more).back() == '\\';
        }
        if (dropped) {
            return;
        }
        if (owner == nullptr) {
            classesRoot_->preamble.push_back(std::move(kept));
        } else if (foreign || open) {
            owner->tail.push_back(std::move(kept));
        } else {
            Node::Kept line = place;
            line.text = std::move(kept);
            owner->kept.push_back(std::move(line));
        }
    };
    while (!text.empty()) {
        const std::string_view raw = nextLine();
        const std::string_view line = Trim(raw);

        if (line.empty() || line == kHeader || line == kHeader5) {
            continue;
        }
        if (line.front() == '[') {
            section = nullptr;
            foreign = true;
            dropped = false;
            if (line.back() != ']' || line.size() < 3 || line[1] == '-') {
                keep(raw);
                continue;
            }
            const std::string_view inner = line.substr(1, line.size() - 2);
            const std::size_t slash = inner.find('\\');
            const std::string_view rootName = inner.substr(0, slash);
            const std::string_view path =
                slash == std::string_view::npos ? std::string_view{} : inner.substr(slash + 1);
            Node* node = nullptr;
            if (SameFolded(rootName, kClassesRootName)) {
                node = classesRoot_.get();
            } else if (SameFolded(rootName, kCurrentUserName)) {
                node = currentUser_.get();
            }
            if (node == nullptr || !SplitPath(path, parts) ||
                (slash != std::string_view::npos && parts.empty())) {
                if (node != nullptr && !path.empty() && path.find("\\\\") == std::string::npos) {
                    ++droppedKeys; // beyond the limits of a key
                    dropped = true;
                }
                keep(raw);
                continue;
            }
            bool created = false;
            section = CreatePath(node, parts, created);
            owner = section;
            foreign = false;
            place = start;
            continue;
        }
        if (line.front() == ';') {
            keep(raw, false);
            continue;
        }
        if (section == nullptr) {
            keep(raw);
            continue;
        }
        std::string name;
        std::size_t pos = 0;
        if (line.front() == '@') {
            pos = 1;
        } else if (!ReadQuoted(line, pos, name) || HasControlCharacter(name)) {
            keep(raw);
            continue;
        }
        std::string_view rest = Trim(line.substr(pos));
        if (rest.empty() || rest.front() != '=') {
            keep(raw);
            continue;
        }
        rest = Trim(rest.substr(1));
        RegistryValue value;
        if (!rest.empty() && rest.front() == '"') {
            std::size_t p = 0;
            std::string data;
            if (!ReadQuoted(rest, p, data) || !Trim(rest.substr(p)).empty()) {
                keep(raw);
                continue;
            }
            value = RegistryValue::String(std::move(data));
        } else if (rest.size() > 6 && SameFolded(rest.substr(0, 6), "dword:")) {
            std::uint32_t number = 0;
            if (!ParseDword(rest.substr(6), number)) {
                keep(raw);
                continue;
            }
            value = RegistryValue::Dword(number);
        } else {
            keep(raw);
            continue;
        }
        std::string folded = Fold(name);
        place.anchored = true;
        place.anchor = folded;
        section->values[std::move(folded)] = {std::move(name), std::move(value)};
    }
    if (droppedKeys > 0) {
        std::fprintf(stderr,
                     "Register %s: %zu sleutel(s) overgeslagen: dieper dan %zu niveaus, een naam "
                     "langer dan %zu tekens of met een stuurteken\n",
                     filePath_.c_str(), droppedKeys, kMaxKeyDepth, kMaxKeyNameLength);
    }
}

std::string Registry::Serialise() const {
    std::string out;
    out += kHeader;
    out += "\n\n";
    for (const std::string& line : classesRoot_->preamble) {
        out += line + '\n';
    }
    if (!classesRoot_->preamble.empty()) {
        out += '\n';
    }
    // Depth first, so every key follows its parent; keys without values still get their
    // section so that empty keys survive a round trip. The walk keeps its own list of keys
    // still to write, so that depth costs no stack.
    struct Pending {
        const Node* node;
        std::string path;
        bool isRoot;
    };
    std::vector<Pending> pending;
    pending.push_back({currentUser_.get(), currentUser_->name, true});
    pending.push_back({classesRoot_.get(), classesRoot_->name, true});
    while (!pending.empty()) {
        Pending item = std::move(pending.back());
        pending.pop_back();
        const Node& node = *item.node;
        if (!item.isRoot || !node.values.empty() || !node.kept.empty() || !node.tail.empty()) {
            out += '[';
            out += item.path;
            out += "]\n";
            // Kept lines in the order of the values they followed, each group in file order.
            std::vector<const Node::Kept*> kept;
            for (const Node::Kept& line : node.kept) {
                kept.push_back(&line);
            }
            std::stable_sort(
                kept.begin(), kept.end(), [](const Node::Kept* a, const Node::Kept* b) {
                    return a->anchored != b->anchored ? b->anchored : a->anchor < b->anchor;
                });
            auto next = kept.begin();
            auto keptUpTo = [&](const std::string* folded, bool including) {
                while (next != kept.end() &&
                       (!(*next)->anchored ||
                        (folded != nullptr && ((*next)->anchor < *folded ||
                                               (including && (*next)->anchor == *folded))))) {
                    out += (*next)->text + '\n';
                    ++next;
                }
            };
            keptUpTo(nullptr, false);
            for (const auto& [folded, entry] : node.values) {
                keptUpTo(&folded, false);
                const auto& [name, value] = entry;
                if (name.empty()) {
                    out += '@';
                } else {
                    out += '"' + Escape(name) + '"';
                }
                if (value.type == RegistryValue::Type::String) {
                    out += "=\"" + Escape(value.text) + "\"\n";
                } else {
                    char digits[16];
                    std::snprintf(digits, sizeof digits, "%08x",
                                  static_cast<unsigned>(value.number));
                    out += std::string("=dword:") + digits + "\n";
                }
                keptUpTo(&folded, true);
            }
            for (; next != kept.end(); ++next) {
                out += (*next)->text + '\n';
            }
            for (const std::string& line : node.tail) {
                out += line + '\n';
            }
            out += '\n';
        }
        for (auto it = node.children.rbegin(); it != node.children.rend(); ++it) {
            pending.push_back({it->second.get(), item.path + '\\' + it->second->name, false});
        }
    }
    return out;
}

RegistryStatus Registry::Changed(Change change) {
    dirty_ = true;
    changes_.push_back(std::move(change));
    if (batchDepth_ > 0) {
        return {};
    }
    return Save();
}

void Registry::Apply(const Change& change) {
    std::vector<std::string_view> parts(change.parts.begin(), change.parts.end());
    Node* root = RootNode(change.root);
    bool created = false;
    switch (change.kind) {
    case Change::Kind::CreateKey:
        CreatePath(root, parts, created);
        return;
    case Change::Kind::SetValue: {
        Node* node = CreatePath(root, parts, created);
        auto [it, inserted] =
            node->values.try_emplace(Fold(change.name), change.name, change.value);
        if (!inserted) {
            it->second.second = change.value;
        }
        return;
    }
    case Change::Kind::DeleteKey:
    case Change::Kind::DeleteValue:
        break;
    }
    Node* node = root;
    const std::size_t walk =
        change.kind == Change::Kind::DeleteKey ? parts.size() - 1 : parts.size();
    for (std::size_t i = 0; i < walk && node != nullptr; ++i) {
        auto it = node->children.find(Fold(parts[i]));
        node = it == node->children.end() ? nullptr : it->second.get();
    }
    if (node == nullptr) {
        return;
    }
    if (change.kind == Change::Kind::DeleteKey) {
        node->children.erase(Fold(parts.back()));
    } else {
        node->values.erase(Fold(change.name));
    }
}

RegistryStatus Registry::Save() {
    auto failure = [this](const std::string& why) {
        lastSaveError_ = "Het register kon niet worden opgeslagen in " + filePath_ + ": " + why;
        return RegistryStatus{RegistryStatus::Code::SaveFailed, lastSaveError_};
    };
    if (!dirty_) {
        return {};
    }
    if (!loadError_.empty()) {
        return failure("het bestand kon eerder niet worden gelezen en wordt niet overschreven (" +
                       loadError_ + ")");
    }
    auto folderOf = [](const std::filesystem::path& file) {
        return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    };
    std::error_code ec;
    std::filesystem::create_directories(folderOf(filePath_), ec);
    if (ec) {
        return failure(SystemError::Reason(ec.value()));
    }
    // Through a symbolic link the file it points to is replaced, so its folder is the lock.
    const std::filesystem::path folder = folderOf(DurableFile::Target(filePath_));
    // The folder is the lock: the file itself is replaced by every save, so a lock on it
    // would be lost with it. Other processes sharing the file wait here until this save is
    // done, and this one then starts from what they wrote.
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0) {
        return failure(SystemError::Reason(errno));
    }
    struct Unlocker {
        int fd;
        ~Unlocker() { ::close(fd); } // closing releases the lock
    } unlocker{folderFd};
    while (::flock(folderFd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            return failure(SystemError::Reason(errno));
        }
    }
    std::string onDisk;
    int readError = 0;
    if (!ReadRegistryFile(filePath_, onDisk, readError)) {
        return failure("het bestand kan niet worden gelezen: " + SystemError::Reason(readError));
    }
    // Start from the file as it is now and apply this registry's own changes to it; the tree
    // this registry had is put back when the save fails.
    std::unique_ptr<Node> ownClasses = std::exchange(classesRoot_, std::make_unique<Node>());
    std::unique_ptr<Node> ownUser = std::exchange(currentUser_, std::make_unique<Node>());
    classesRoot_->name = kClassesRootName;
    currentUser_->name = kCurrentUserName;
    const std::size_t ownSkipped = std::exchange(skippedLines_, 0);
    Parse(onDisk);
    for (const Change& change : changes_) {
        Apply(change);
    }
    auto keepOwn = [&](const std::string& why) {
        classesRoot_ = std::move(ownClasses);
        currentUser_ = std::move(ownUser);
        skippedLines_ = ownSkipped;
        return failure(why);
    };
    // Written beside the file and renamed over it, never in place, so that readers, who take
    // no lock, and a crash mid-write only ever see the old or the new registry.
    try {
        DurableFile::Write(filePath_, Serialise(), DurableFile::InPlace::Refused);
    } catch (const DurableFileError& e) {
        return keepOwn(e.Reason());
    }
    changes_.clear();
    dirty_ = false;
    lastSaveError_.clear();
    return {};
}

bool Registry::KeyExists(RegistryRoot root, std::string_view path) {
    std::lock_guard lock(mutex_);
    EnsureLoaded();
    return Find(root, path) != nullptr;
}

RegistryStatus Registry::CreateKey(RegistryRoot root, std::string_view path) {
    std::lock_guard lock(mutex_);
    EnsureLoaded();
    std::vector<std::string_view> parts;
    if (!SplitPath(path, parts)) {
        return BadName(path);
    }
    bool created = false;
    CreatePath(RootNode(root), parts, created);
    return created ? Changed({Change::Kind::CreateKey, root, {parts.begin(), parts.end()}, {}, {}})
                   : RegistryStatus{};
}

RegistryStatus Registry::DeleteKey(RegistryRoot root, std::string_view path) {
    std::lock_guard lock(mutex_);
    EnsureLoaded();
    std::vector<std::string_view> parts;
    if (!SplitPath(path, parts) || parts.empty()) {
        return BadName(path);
    }
    const std::size_t lastSlash = path.rfind('\\');
    Node* parent = lastSlash == std::string_view::npos ? RootNode(root)
                                                       : Find(root, path.substr(0, lastSlash));
    if (parent == nullptr || parent->children.erase(Fold(parts.back())) == 0) {
        return KeyNotFound(path);
    }
    return Changed({Change::Kind::DeleteKey, root, {parts.begin(), parts.end()}, {}, {}});
}

std::vector<std::string> Registry::SubKeyNames(RegistryRoot root, std::string_view path) {
    std::lock_guard lock(mutex_);
    EnsureLoaded();
    std::vector<std::string> names;
    if (const Node* node = Find(root, path)) {
        for (const auto& [folded, child] : node->children) {
            names.push_back(child->name);
        }
    }
    return names;
}

std::vector<std::string> Registry::ValueNames(RegistryRoot root, std::string_view path) {
    std::lock_guard lock(mutex_);
    EnsureLoaded();
    std::vector<std::string> names;
    if (const Node* node = Find(root, path)) {
        for (const auto& [folded, entry] : node->values) {
            names.push_back(entry.first);
        }
    }
    return names;
}

RegistryStatus Registry::SetValue(RegistryRoot root, std::string_view path, std::string_view name,
                                  RegistryValue value) {
    std::lock_guard lock(mutex_);
    EnsureLoaded();
    std::vector<std::string_view> parts;
    if (!SplitPath(path, parts)) {
        return BadName(path);
    }
    if (HasControlCharacter(name)) {
        return BadValueName(name);
    }
    bool created = false;
    Node* node = CreatePath(RootNode(root), parts, created);
    auto [it, inserted] = node->values.try_emplace(Fold(name), std::string(name), value);
    if (!inserted) {
        if (it->second.second == value) {
            return {};
        }
        it->second.second = value;
    }
    return Changed({Change::Kind::SetValue,
                    root,
                    {parts.begin(), parts.end()},
                    std::string(name),
                    std::move(value)});
}

std::optional<RegistryValue> Registry::GetValue(RegistryRoot root, std::string_view path,
                                                std::string_view name) {
    std::lock_guard lock(mutex_);
    EnsureLoaded();
    const Node* node = Find(root, path);
    if (node == nullptr) {
        return std::nullopt;
    }
    auto it = node->values.find(Fold(name));
    if (it == node->values.end()) {
        return std::nullopt;
    }
    return it->second.second;
}

std::optional<std::string> Registry::GetString(RegistryRoot root, std::string_view path,
                                               std::string_view name) {
    std::optional<RegistryValue> value = GetValue(root, path, name);
    if (!value || value->type != RegistryValue::Type::String) {
        return std::nullopt;
    }
    return std::move(value->text);
}

std::optional<std::uint32_t> Registry::GetDword(RegistryRoot root, std::string_view path,
                                                std::string_view name) {
    const std::optional<RegistryValue> value = GetValue(root, path, name);
    if (!value || value->type != RegistryValue::Type::Dword) {
        return std::nullopt;
    }
    return value->number;
}

RegistryStatus Registry::DeleteValue(RegistryRoot root, std::string_view path,
                                     std::string_view name) {
    std::lock_guard lock(mutex_);
    EnsureLoaded();
    std::vector<std::string_view> parts;
    Node* node = SplitPath(path, parts) ? Find(root, path) : nullptr;
    if (node == nullptr) {
        return KeyNotFound(path);
    }
    if (node->values.erase(Fold(name)) == 0) {
        return {RegistryStatus::Code::NotFound, "Registerwaarde niet gevonden: \"" +
                                                    std::string(path) + "\" \"" +
                                                    std::string(name) + "\""};
    }
    return Changed(
        {Change::Kind::DeleteValue, root, {parts.begin(), parts.end()}, std::string(name), {}});
}

void Registry::BeginBatch() {
    std::lock_guard lock(mutex_);
    ++batchDepth_;
}

RegistryStatus Registry::EndBatch() {
    std::lock_guard lock(mutex_);
    if (batchDepth_ > 0) {
        --batchDepth_;
    }
    if (batchDepth_ > 0) {
        return {};
    }
    return Save();
}

RegistryStatus Registry::Flush() {
    std::lock_guard lock(mutex_);
    return Save();
}

void Registry::Reload() {
    std::lock_guard lock(mutex_);
    classesRoot_->children.clear();
    classesRoot_->values.clear();
    currentUser_->children.clear();
    currentUser_->values.clear();
    for (Node* root : {classesRoot_.get(), currentUser_.get()}) {
        root->kept.clear();
        root->tail.clear();
        root->preamble.clear();
    }
    loaded_ = false;
    dirty_ = false;
    changes_.clear();
}

std::size_t Registry::SkippedLines() {
    std::lock_guard lock(mutex_);
    EnsureLoaded();
    return skippedLines_;
}

std::string Registry::LoadError() {
    std::lock_guard lock(mutex_);
    EnsureLoaded();
    return loadError_;
}

std::string Registry::LastSaveError() {
    std::lock_guard lock(mutex_);
    return lastSaveError_;
}
