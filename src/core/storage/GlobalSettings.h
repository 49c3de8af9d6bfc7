#pragma once
// One settings file of the "vms\config\vantors.config" kind: the manager-wide preferences (the program's own
// record) or a product line's shared settings. Keys are typed constants carrying their default; a missing
// key, a damaged file and a record that was never loaded all read as that default.
//
// Writers call the setters and then save() once: only a modified document is written.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "core/storage/ConfigDocument.h"

namespace common {

namespace settings {

struct BoolKey {
    std::string_view name;
    bool defaultValue;
};
struct IntKey {
    std::string_view name;
    int defaultValue;
};
struct PointKey {
    std::string_view name;
    Point defaultValue;
};
struct TextKey {
    std::string_view name;
    std::wstring_view defaultValue;
};

inline constexpr IntKey windowsAlignType{"windowsAlignType", 0};
inline constexpr BoolKey windowsAutoSize{"windowsAutoSize", true};
inline constexpr IntKey windowsRowCount{"windowsRowCount", 4};
inline constexpr PointKey windowsOrigin{"windowsOrigin", {0, 0}};
inline constexpr PointKey windowsOffset{"windowsOffset", {40, 40}};
inline constexpr BoolKey sortwndnotoutscreen{"sortwndnotoutscreen", true};
inline constexpr BoolKey moreScreenSortInSame{"moreScreenSortInSame", true};
inline constexpr IntKey batchStartInterval{"batchStartInterval", 5}; // seconds; 0 or less is handed on as stored
inline constexpr BoolKey vmdkFastMode{"vmdkFastMode", true};
inline constexpr BoolKey cloneFromSmallDisk{"cloneFromSmallDisk", false};
inline constexpr BoolKey displayMode{"displayMode", false};
inline constexpr IntKey framesPerSecond{"framesPerSecond", 60};
inline constexpr BoolKey reduceAudio{"reduceAudio", false};
inline constexpr BoolKey windowsRecordPos{"windowsRecordPos", false};
inline constexpr BoolKey backupWithCompression{"backupWithCompression", false};
inline constexpr IntKey multiPlayerSort{"multiPlayerSort", 0};
inline constexpr IntKey multiPlayerSortV2{"multiPlayerSortV2", -1}; // -1: not yet derived
inline constexpr IntKey multiPlayerLastProduct{"multiPlayerLastProduct", 4};
inline constexpr BoolKey groupNewUser{"groupNewUser", false};               // one-shot
inline constexpr BoolKey groupcontrolNewUser{"groupcontrolNewUser", false}; // one-shot
inline constexpr BoolKey groupAutoSort{"groupAutoSort", true};
inline constexpr IntKey groupSortNumber{"groupSortNumber", 4}; // read through GlobalSettings::groupSortNumber
inline constexpr BoolKey groupcontrolHideOffLinePlayer{"groupcontrolHideOffLinePlayer", false};
inline constexpr BoolKey groupcontrolSavePos{"groupcontrolSavePos", false};
inline constexpr BoolKey groupcontrolCloseNoice{"groupcontrolCloseNoice", false};
inline constexpr TextKey languageId{"languageId", L""};
inline constexpr BoolKey mulTab{"mulTab", true};
inline constexpr BoolKey exitFullscreenEsc{"exitFullscreenEsc", false};
inline constexpr BoolKey disableMouseRightOpt{"disableMouseRightOpt", false};

} // namespace settings

class GlobalSettings {
public:
    // Replaces the document with "vms\config\vantors.config" below `baseFolder`; notes the first boot when
    // "vms\config\firstboottag" is missing.
    void load(const std::filesystem::path& baseFolder);
    // Reads the file again: hand edits made meanwhile are kept.
    void reload();
    bool loaded() const { return m_doc != nullptr; }
    bool firstBoot() const { return m_firstBoot; }
    const std::filesystem::path& path() const { return m_path; }

    bool get(const settings::BoolKey& key) const;
    int get(const settings::IntKey& key) const;
    Point get(const settings::PointKey& key) const;
    std::wstring get(const settings::TextKey& key) const;
    // Values outside 0 to 100 count as 4.
    int groupSortNumber() const;

    // Setters change the document only; save() writes it. Without a loaded document they do nothing.
    void set(const settings::BoolKey& key, bool value);
    void set(const settings::IntKey& key, int value);
    void set(const settings::PointKey& key, Point value);
    void set(const settings::TextKey& key, std::wstring_view value);
    void setX(const settings::PointKey& key, int x);
    void setY(const settings::PointKey& key, int y);
    [[nodiscard]] bool save();

    // A one-shot flag: true once, and false is written back at once.
    bool takeOneShot(const settings::BoolKey& key);

    const ConfigDocument* document() const { return m_doc.get(); }

private:
    bool m_firstBoot = false;
    std::filesystem::path m_path;
    std::unique_ptr<ConfigDocument> m_doc;
};

} // namespace common
