#include "core/storage/GlobalSettings.h"

#include <system_error>

namespace common {

void GlobalSettings::load(const std::filesystem::path& baseFolder) {
    m_doc = std::make_unique<ConfigDocument>();
    const auto configFolder = baseFolder / "vms" / "config";
    m_path = configFolder / "vantors.config";
    std::error_code ec;
    m_firstBoot = !std::filesystem::exists(configFolder / "firstboottag", ec);
    m_doc->load(m_path);
}

void GlobalSettings::reload() {
    if (!m_doc) return;
    m_doc = std::make_unique<ConfigDocument>();
    m_doc->load(m_path);
}

bool GlobalSettings::get(const settings::BoolKey& key) const {
    return m_doc ? m_doc->getBool(key.name, key.defaultValue) : key.defaultValue;
}

int GlobalSettings::get(const settings::IntKey& key) const {
    return m_doc ? m_doc->getInt(key.name, key.defaultValue) : key.defaultValue;
}

Point GlobalSettings::get(const settings::PointKey& key) const {
    return m_doc ? m_doc->getPoint(key.name, key.defaultValue) : key.defaultValue;
}

std::wstring GlobalSettings::get(const settings::TextKey& key) const {
    return m_doc ? m_doc->getString(key.name, key.defaultValue) : std::wstring(key.defaultValue);
}

int GlobalSettings::groupSortNumber() const {
    const int n = get(settings::groupSortNumber);
    return n < 0 || n > 100 ? 4 : n;
}

void GlobalSettings::set(const settings::BoolKey& key, bool value) {
    if (m_doc) m_doc->setBool(key.name, value);
}

void GlobalSettings::set(const settings::IntKey& key, int value) {
    if (m_doc) m_doc->setInt(key.name, value);
}

void GlobalSettings::set(const settings::PointKey& key, Point value) {
    if (m_doc) m_doc->setPoint(key.name, value.x, value.y);
}

void GlobalSettings::set(const settings::TextKey& key, std::wstring_view value) {
    if (m_doc) m_doc->setString(key.name, value);
}

void GlobalSettings::setX(const settings::PointKey& key, int x) {
    Point p = get(key);
    p.x = x;
    set(key, p);
}

void GlobalSettings::setY(const settings::PointKey& key, int y) {
    Point p = get(key);
    p.y = y;
    set(key, p);
}

bool GlobalSettings::save() {
    return m_doc && m_doc->save();
}

bool GlobalSettings::takeOneShot(const settings::BoolKey& key) {
    if (!get(key)) return false;
    set(key, false);
    (void)save(); // a failed write is logged; the one-shot then comes again at the next start
    return true;
}

} // namespace common
