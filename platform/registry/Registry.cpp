#include "platform/registry/Registry.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

struct Registry::Node {
    std::string name;
    /// Keyed by the folded name, so lookups ignore case and enumeration is sorted.
    std::map<std::string, std::unique_ptr<Node>> children;
    std::map<std::string, std::pair<std::string, RegistryValue>> values;
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

/// Splits a key path at `\`; false when a key name in it is empty.
bool SplitPath(std::string_view path, std::vector<std::string_view>& parts) {
    parts.clear();
    if (path.empty()) {
        return true;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t end = path.find('\\', start);
        const std::string_view part = path.substr(start, end - start);
        if (part.empty()) {
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

void Registry::EnsureLoaded() {
    if (loaded_) {
        return;
    }
    loaded_ = true;
    skippedLines_ = 0;
    loadError_.clear();
    std::FILE* f = std::fopen(filePath_.c_str(), "rb");
    if (f == nullptr) {
        // No file yet (not even its folder) is an empty registry.
        if (errno != ENOENT && errno != ENOTDIR) {
            loadError_ = "Het register in " + filePath_ +
                         " kan niet worden gelezen: " + std::strerror(errno);
        }
        return;
    }
    std::string text;
    char buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        text.append(buffer, n);
    }
    const bool failed = std::ferror(f) != 0;
    const int error = errno;
    std::fclose(f);
    if (failed) {
        loadError_ =
            "Het register in " + filePath_ + " kan niet worden gelezen: " + std::strerror(error);
        return;
    }
    Parse(text);
}

void Registry::Parse(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    Node* section = nullptr;
    std::vector<std::string_view> parts;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);

        if (line.empty() || line.front() == ';' || line == kHeader || line == kHeader5) {
            continue;
        }
        if (line.front() == '[') {
            section = nullptr;
            if (line.back() != ']' || line.size() < 3 || line[1] == '-') {
                ++skippedLines_;
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
                ++skippedLines_;
                continue;
            }
            bool created = false;
            section = CreatePath(node, parts, created);
            continue;
        }
        if (section == nullptr) {
            ++skippedLines_;
            continue;
        }
        std::string name;
        std::size_t pos = 0;
        if (line.front() == '@') {
            pos = 1;
        } else if (!ReadQuoted(line, pos, name)) {
            ++skippedLines_;
            continue;
        }
        std::string_view rest = Trim(line.substr(pos));
        if (rest.empty() || rest.front() != '=') {
            ++skippedLines_;
            continue;
        }
        rest = Trim(rest.substr(1));
        RegistryValue value;
        if (!rest.empty() && rest.front() == '"') {
            std::size_t p = 0;
            std::string data;
            if (!ReadQuoted(rest, p, data) || !Trim(rest.substr(p)).empty()) {
                ++skippedLines_;
                continue;
            }
            value = RegistryValue::String(std::move(data));
        } else if (rest.size() > 6 && SameFolded(rest.substr(0, 6), "dword:")) {
            std::uint32_t number = 0;
            if (!ParseDword(rest.substr(6), number)) {
                ++skippedLines_;
                continue;
            }
            value = RegistryValue::Dword(number);
        } else {
            ++skippedLines_;
            continue;
        }
        std::string folded = Fold(name);
        section->values[std::move(folded)] = {std::move(name), std::move(value)};
    }
}

std::string Registry::Serialise() const {
    std::string out;
    out += kHeader;
    out += "\n\n";
    // Depth first, so every key follows its parent; keys without values still get their
    // section so that empty keys survive a round trip.
    struct Writer {
        std::string& out;
        void Write(const Node& node, const std::string& path, bool isRoot) {
            if (!isRoot || !node.values.empty()) {
                out += '[';
                out += path;
                out += "]\n";
                for (const auto& [folded, entry] : node.values) {
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
                }
                out += '\n';
            }
            for (const auto& [folded, child] : node.children) {
                Write(*child, path + '\\' + child->name, false);
            }
        }
    };
    Writer writer{out};
    writer.Write(*classesRoot_, classesRoot_->name, true);
    writer.Write(*currentUser_, currentUser_->name, true);
    return out;
}

RegistryStatus Registry::Changed() {
    dirty_ = true;
    if (batchDepth_ > 0) {
        return {};
    }
    return Save();
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
    const std::filesystem::path target(filePath_);
    std::error_code ec;
    if (target.has_parent_path()) {
        std::filesystem::create_directories(target.parent_path(), ec);
        if (ec) {
            return failure(ec.message());
        }
    }
    // Written beside the file and renamed over it, so that readers and a crash mid-write
    // only ever see the old or the new registry.
    std::string temp = filePath_ + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        return failure(std::strerror(errno));
    }
    const std::string text = Serialise();
    std::size_t written = 0;
    int error = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = errno;
            break;
        }
        written += static_cast<std::size_t>(n);
    }
    struct stat old {};
    const mode_t mode = ::stat(filePath_.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    if (error == 0 && ::fchmod(fd, mode) != 0) {
        error = errno;
    }
    if (error == 0 && ::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && std::rename(temp.c_str(), filePath_.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temp.c_str());
        return failure(std::strerror(error));
    }
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
    return created ? Changed() : RegistryStatus{};
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
    return Changed();
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
    bool created = false;
    Node* node = CreatePath(RootNode(root), parts, created);
    auto [it, inserted] = node->values.try_emplace(Fold(name), std::string(name), value);
    if (!inserted) {
        if (it->second.second == value) {
            return {};
        }
        it->second.second = std::move(value);
    }
    return Changed();
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
    Node* node = Find(root, path);
    if (node == nullptr) {
        return KeyNotFound(path);
    }
    if (node->values.erase(Fold(name)) == 0) {
        return {RegistryStatus::Code::NotFound, "Registerwaarde niet gevonden: \"" +
                                                    std::string(path) + "\" \"" +
                                                    std::string(name) + "\""};
    }
    return Changed();
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
    loaded_ = false;
    dirty_ = false;
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
