#pragma once
// One JSON settings file in memory: instance configurations, line and manager settings.
//
// Member names are flat ("basicSettings.fps" is one name of the root object); lookup takes the first member
// with exactly that name, new members are appended at the end, existing ones are replaced in place. A setter
// that changes the document marks it modified (one that stores an equal value does not); save() writes only a
// modified document, pretty-printed with four spaces, through a temporary file, so a crash never leaves half a
// file. A file that is missing, unreadable, not JSON or whose root is not an object loads as an empty object:
// every read then gives its default.
//
// Several writers share some files: a line installed in the program's folder shares "vantors.config" with the
// manager's own settings, the emulator writes its line's file and its instances' files, and users edit them by
// hand. So save() reads the file again and writes back what it holds now with only this document's changed
// keys replaced: a writer that saves an older copy never undoes the others' keys. (One shared in-memory copy
// per path would protect against this process only.) A file on disk that does not parse is kept beside as
// "<name>.bad" before it is replaced; when that copy cannot be made, nothing is written.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <rapidjson/document.h>

#include "core/geometry/Geometry.h"

namespace common {

struct Resolution {
    int width = 0;
    int height = 0;
    bool operator==(const Resolution&) const = default;
};

using geometry::Point;

// A hot key: modifier bits (1 Alt, 2 Ctrl, 4 Shift) and a virtual key code.
struct CombineKey {
    int modifiers = 0;
    std::uint16_t key = 0;
    bool operator==(const CombineKey&) const = default;
};

class ConfigDocument {
public:
    ConfigDocument();

    // Remembers the path and parses the file; false when the document came out empty because the file was
    // missing or damaged (not an error: every key then has its default).
    bool load(std::filesystem::path path);
    // Parses text instead of a file (the path stays as it is).
    bool loadText(std::string_view json);
    // Writes the document when modified: creates the folder chain, merges the changed keys into what the file
    // holds now, replaces the file, clears the flag. Returns whether a file was written.
    [[nodiscard]] bool save();

    bool has(std::string_view key) const;
    // The member's value, or a shared null value when it is missing.
    const rapidjson::Value& get(std::string_view key) const;

    // Only a stored `true` is true; a missing member gives the default.
    bool getBool(std::string_view key, bool defaultValue) const;
    // Numbers are truncated to 32 bits; a member that is not a number gives the default.
    int getInt(std::string_view key, int defaultValue) const;
    // A member that is not a string gives the empty text; a missing one gives the default.
    std::wstring getString(std::string_view key, std::wstring_view defaultValue = {}) const;
    Resolution getResolution(std::string_view key, Resolution defaultValue) const;
    Point getPoint(std::string_view key, Point defaultValue) const;
    CombineKey getHotkey(std::string_view key, CombineKey defaultValue) const;

    void setString(std::string_view key, std::wstring_view value);
    void setBool(std::string_view key, bool value);
    void setInt(std::string_view key, int value);
    void setResolution(int width, int height); // on "advancedSettings.resolution"
    void setPoint(std::string_view key, int x, int y);
    void setHotkey(std::string_view key, CombineKey value);

    bool modified() const { return m_modified; }
    const std::filesystem::path& path() const { return m_path; }
    // The text save() writes.
    std::string serialize() const;
    std::size_t memberCount() const { return m_doc.MemberCount(); }

private:
    const rapidjson::Value* find(std::string_view key) const;
    void set(std::string_view key, rapidjson::Value&& value);
    void noteChanged(std::string_view key);
    bool mergeWithFile();
    int memberInt(const rapidjson::Value& object, const char* name, int defaultValue) const;

    rapidjson::Document m_doc;
    std::filesystem::path m_path;
    bool m_modified = false;
    std::vector<std::string> m_changedKeys; // since the last load or save, in the order first changed
};

} // namespace common
