#pragma once
// The groups of every product line and their file "data\groupsV2".
//
// The file is text in the ANSI code page, lines ending in CRLF: an empty first line, then per line (in the
// order Android 14, 9, 7.1 32-bit, 7.1 64-bit, 5.1) its section name alone on a line followed by one line
// per group: name|id|id||left=L|top=T|width=W|height=H|expand=1. The older single-list file "data\groups"
// is read once and split by line (migration); the new file is then written and the old one kept.
//
// A file that exists but cannot be read (locked, no access) yields no groups and is never written over just
// because the program ends: only a change of the groups saves then, after keeping the file as "groupsV2.bad".
// Names that would not read back as themselves (a "|", a line break, a character the code page lacks) are
// refused where they are made.
//
// Groups are read and changed on the user-interface thread only.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/product/ProductLine.h"

namespace model {

struct Group {
    KV_PRODUCT_TYPE product = KV_PRODUCT_14;
    std::wstring name;
    std::vector<std::int32_t> members; // instance ids
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool expand = true;
    bool operator==(const Group&) const = default;
};

// Why `name` cannot be a group name: the language key of the message that says so, or empty when it can. In
// the file the name's bytes in the ANSI code page may hold neither "|" nor a line break, and must read back
// as the same name.
std::wstring_view groupNameRefusal(std::wstring_view name);

class GroupStore {
public:
    // `dataFolder`: the "data" folder below the program's folder.
    explicit GroupStore(std::filesystem::path dataFolder);

    // Reads "data\groupsV2", or the older "data\groups" followed by the migration.
    void load();
    // Replaces "data\groupsV2" with every line's groups, in one piece. False, writing nothing, when the file
    // could not be read and nothing changed since (or it could not be kept before being replaced).
    [[nodiscard]] bool save();

    const std::vector<Group>& groups(KV_PRODUCT_TYPE product) const { return m_lists[index(product)]; }
    Group* find(KV_PRODUCT_TYPE product, std::wstring_view name);

    // An empty name is generated from `generatedPrefix` + 1, 2, ... (the first free one). Saves. Null when
    // groupNameRefusal refuses the name, given or generated.
    Group* createGroup(KV_PRODUCT_TYPE product, std::wstring name, std::wstring_view generatedPrefix);
    // From the named group, or from any group of the line when the name is empty: the first occurrence. Saves
    // when something was removed.
    void removeFromGroup(KV_PRODUCT_TYPE product, std::wstring_view groupName, std::int32_t id);
    // Each id leaves the group holding it, then all are appended to the named group. Saves.
    void moveToGroup(KV_PRODUCT_TYPE product, const std::vector<std::int32_t>& ids, std::wstring_view groupName);
    // Every given id leaves every group of the line. Saves.
    void removeFromGroups(KV_PRODUCT_TYPE product, const std::vector<std::int32_t>& ids);
    // The first of "new", "new(2)", "new(3)"... that no other group of the line carries. Saves; returns the
    // name stored (the new name itself when no group was called `oldName`). Nothing when groupNameRefusal
    // refuses the new name: the group keeps its name.
    std::optional<std::wstring> renameGroup(KV_PRODUCT_TYPE product, std::wstring_view oldName,
                                            std::wstring_view newName);
    // The named group leaves the line's list, its members with it (the instances stay). Saves.
    void removeGroup(KV_PRODUCT_TYPE product, std::wstring_view name);
    // Whether the group's row shows expanded. Saves.
    void setGroupExpand(KV_PRODUCT_TYPE product, std::wstring_view name, bool expand);
    // The caller saves.
    void setGroupRect(KV_PRODUCT_TYPE product, std::wstring_view name, int left, int top, int width, int height);

    bool v2FilePresent() const { return m_v2FilePresent; }
    bool migrationDone() const { return m_migrationDone; }

    // The file's content (bytes in the ANSI code page), and reading it back into the lists.
    std::string serialize() const;
    void parse(std::string_view content, KV_PRODUCT_TYPE firstSection);

private:
    // Every change is written at once; a failed write is logged by save and the change goes out with the
    // next save.
    void persist() { (void)save(); }
    static std::size_t index(KV_PRODUCT_TYPE product) { return static_cast<std::size_t>(product); }
    bool nameTaken(KV_PRODUCT_TYPE product, std::wstring_view name, const Group* except = nullptr) const;
    bool removeFirst(KV_PRODUCT_TYPE product, std::wstring_view groupName, std::int32_t id);
    void migrate();
    bool readFile(const std::filesystem::path& path, std::string& content);

    std::filesystem::path m_dataFolder;
    std::array<std::vector<Group>, product::kProductCount> m_lists;
    bool m_v2FilePresent = true;
    bool m_migrationDone = true;
    bool m_readFailed = false; // the file exists but could not be read
    bool m_changed = false;    // since the load
};

} // namespace model
