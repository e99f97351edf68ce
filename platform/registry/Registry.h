#pragma once
// The registry: a tree of keys under two roots, each key holding named string and DWORD
// values (the default value has the empty name). Key and value names are compared without
// regard to ASCII case and keep the case they were created with. The tree lives in a
// REGEDIT4-style text file that is read on first use and rewritten atomically after every
// change (or once at the end of a batch of changes). Several processes may share the file: a
// save locks it, reads it again, applies only the changes this registry made since its last
// save, and writes the result, so that no process drops another's keys.
//
// The limits of the system's registry hold: a key name has at most 255 characters, a key
// lies at most 512 levels deep, and no key or value name holds a control character.

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class RegistryRoot { ClassesRoot, CurrentUser };

/// A stored value: a string (UTF-8) or a 32-bit number.
struct RegistryValue {
    enum class Type { String, Dword };
    Type type = Type::String;
    std::string text;
    std::uint32_t number = 0;

    static RegistryValue String(std::string text) { return {Type::String, std::move(text), 0}; }
    static RegistryValue Dword(std::uint32_t number) { return {Type::Dword, {}, number}; }
    friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};

/// Outcome of a registry operation. A failure carries a message (Dutch, for the user) that
/// names what failed and, for file problems, the file.
struct RegistryStatus {
    enum class Code { Ok, NotFound, BadName, SaveFailed };
    Code code = Code::Ok;
    std::string message;

    bool ok() const { return code == Code::Ok; }
    explicit operator bool() const { return ok(); }
};

class Registry {
public:
    /// The one registry of the process, kept in DefaultFilePath(). Shared by the program and
    /// every component library it loads.
    static Registry& Instance();
    /// $TAVSIM_REGISTRY when set and not empty, otherwise
    /// $XDG_CONFIG_HOME/tavsim/registry.reg (XDG_CONFIG_HOME defaults to ~/.config).
    static std::string DefaultFilePath();

    /// A registry kept in `filePath`; nothing is read until first use.
    explicit Registry(std::string filePath);
    /// Saves unsaved changes; a failure is written to stderr.
    ~Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    const std::string& FilePath() const { return filePath_; }

    // Key paths are relative to the root, with `\` between key names ("CLSID\{...}\ProgID");
    // the empty path is the root itself. A path with an empty key name, a name longer than
    // kMaxKeyNameLength, more than kMaxKeyDepth names, or a control character is BadName; so
    // is a value name with a control character.
    static constexpr std::size_t kMaxKeyNameLength = 255;
    static constexpr std::size_t kMaxKeyDepth = 512;

    bool KeyExists(RegistryRoot root, std::string_view path);
    /// Creates the key and any missing keys above it. Ok when it already exists.
    RegistryStatus CreateKey(RegistryRoot root, std::string_view path);
    /// Deletes the key with all its subkeys and values. NotFound when it does not exist;
    /// BadName for the root itself.
    RegistryStatus DeleteKey(RegistryRoot root, std::string_view path);
    /// Names of the direct subkeys, sorted without regard to case; empty for a missing key.
    std::vector<std::string> SubKeyNames(RegistryRoot root, std::string_view path);
    /// Names of the key's values ("" for the default value), sorted without regard to case.
    std::vector<std::string> ValueNames(RegistryRoot root, std::string_view path);

    /// Sets a value, creating the key when needed. An existing value keeps its name's case.
    RegistryStatus SetValue(RegistryRoot root, std::string_view path, std::string_view name,
                            RegistryValue value);
    RegistryStatus SetString(RegistryRoot root, std::string_view path, std::string_view name,
                             std::string text) {
        return SetValue(root, path, name, RegistryValue::String(std::move(text)));
    }
    RegistryStatus SetDword(RegistryRoot root, std::string_view path, std::string_view name,
                            std::uint32_t number) {
        return SetValue(root, path, name, RegistryValue::Dword(number));
    }
    /// nullopt when the key or the value does not exist.
    std::optional<RegistryValue> GetValue(RegistryRoot root, std::string_view path,
                                          std::string_view name);
    /// The value when it exists and is a string.
    std::optional<std::string> GetString(RegistryRoot root, std::string_view path,
                                         std::string_view name);
    /// The value when it exists and is a DWORD.
    std::optional<std::uint32_t> GetDword(RegistryRoot root, std::string_view path,
                                          std::string_view name);
    /// NotFound when the key or the value does not exist.
    RegistryStatus DeleteValue(RegistryRoot root, std::string_view path, std::string_view name);

    /// While at least one batch is open, changes are kept in memory only; closing the
    /// outermost batch saves them once. Batches nest. Prefer RegistryBatch.
    void BeginBatch();
    /// Closes a batch; for the outermost one, the result of saving.
    RegistryStatus EndBatch();
    /// Saves now when there are unsaved changes (after a failed save, for instance).
    RegistryStatus Flush();
    /// Forgets the tree; the file is read again at next use. Unsaved changes are lost.
    void Reload();

    /// Lines of the file that could not be understood at the last load (comments do not
    /// count). They are kept as they were, under their key and after the value they
    /// followed, and written back by every save; only keys beyond the limits above are
    /// dropped, with the lines under them. A file that is no registry text at all (NUL
    /// bytes, or no REGEDIT4 header on its first line) is moved to the first free name of
    /// its own name + ".beschadigd" (then ".beschadigd.1", ...), stderr says so, and the
    /// registry starts empty.
    std::size_t SkippedLines();
    /// Why the file could not be read at the last load, or empty. While it is set, changes
    /// are kept in memory but never saved, so that the unread file is not overwritten.
    std::string LoadError();
    /// The message of the last failed save, or empty when the last save succeeded.
    std::string LastSaveError();

private:
    struct Node;
    /// One change made through this object and not yet saved; a save applies it again to
    /// what the file holds then.
    struct Change {
        enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue };
        Kind kind;
        RegistryRoot root;
        std::vector<std::string> parts;
        std::string name;
        RegistryValue value;
    };
    Node* RootNode(RegistryRoot root);
    Node* Find(RegistryRoot root, std::string_view path);
    /// Walks down `parts` from `node`, making the keys that are missing; true in `created`
    /// when it made one.
    static Node* CreatePath(Node* node, const std::vector<std::string_view>& parts, bool& created);
    void EnsureLoaded();
    void Parse(std::string_view text);
    std::string Serialise() const;
    RegistryStatus Changed(Change change);
    /// Applies `change` to the tree in memory.
    void Apply(const Change& change);
    RegistryStatus Save();

    std::mutex mutex_;
    std::string filePath_;
    std::unique_ptr<Node> classesRoot_;
    std::unique_ptr<Node> currentUser_;
    bool loaded_ = false;
    bool dirty_ = false;
    std::vector<Change> changes_;
    int batchDepth_ = 0;
    std::size_t skippedLines_ = 0;
    std::string loadError_;
    std::string lastSaveError_;
};
