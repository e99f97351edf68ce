// The registry file reader on any file. Whatever it accepts must survive being saved and
// read again unchanged: the registry is rewritten after every change, so a key or value
// that does not come back is lost for the user.

#include "fuzz/support/FuzzTempFile.h"
#include "platform/registry/Registry.h"
#include "platform/registry/RegistryBatch.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

struct Entry {
    RegistryRoot root;
    std::string path;
    std::string name; // empty with isKey for the key itself
    bool isKey = false;
    RegistryValue value;
    friend bool operator==(const Entry&, const Entry&) = default;
};

void Walk(Registry& registry, RegistryRoot root, const std::string& path, std::vector<Entry>& out) {
    if (!path.empty()) {
        out.push_back({root, path, {}, true, {}});
    }
    for (const std::string& name : registry.ValueNames(root, path)) {
        const std::optional<RegistryValue> value = registry.GetValue(root, path, name);
        if (!value) {
            std::fprintf(stderr, "registry file: value \"%s\" listed but not found\n",
                         name.c_str());
            std::abort();
        }
        out.push_back({root, path, name, false, *value});
    }
    for (const std::string& child : registry.SubKeyNames(root, path)) {
        Walk(registry, root, path.empty() ? child : path + '\\' + child, out);
    }
}

std::vector<Entry> Contents(Registry& registry) {
    std::vector<Entry> out;
    Walk(registry, RegistryRoot::ClassesRoot, "", out);
    Walk(registry, RegistryRoot::CurrentUser, "", out);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzTempFile given(".reg");
    static const FuzzTempFile copy(".reg");
    given.Write(data, size);
    copy.Write(nullptr, 0);
    std::vector<Entry> read;
    {
        Registry registry(given.Path());
        read = Contents(registry);
        if (!registry.LoadError().empty()) {
            return 0;
        }
    }
    // A file that is no registry text was moved aside; it comes back for the next input.
    std::error_code ec;
    std::filesystem::rename(given.Path() + ".beschadigd", given.Path(), ec);
    {
        Registry registry(copy.Path());
        RegistryBatch batch(registry);
        for (const Entry& entry : read) {
            const RegistryStatus status =
                entry.isKey ? registry.CreateKey(entry.root, entry.path)
                            : registry.SetValue(entry.root, entry.path, entry.name, entry.value);
            if (!status) {
                std::fprintf(stderr, "registry file: cannot store what was read: %s\n",
                             status.message.c_str());
                std::abort();
            }
        }
        const RegistryStatus saved = batch.Commit();
        if (!saved) {
            std::fprintf(stderr, "registry file: %s\n", saved.message.c_str());
            std::abort();
        }
    }
    Registry reread(copy.Path());
    if (Contents(reread) != read || reread.SkippedLines() != 0) {
        std::fprintf(stderr, "registry file: saved and read again, it is not the same\n");
        std::abort();
    }
    return 0;
}
