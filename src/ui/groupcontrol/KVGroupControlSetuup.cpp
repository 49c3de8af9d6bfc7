#include "ui/groupcontrol/KVGroupControlSetuup.h"

#include <algorithm>
#include <climits>
#include <cwchar>
#include <cwctype>
#include <string>

#include "core/lang/LanguageStrings.h"
#include "core/log/Log.h"
#include "toolkit/Button.h"
#include "toolkit/SkinParser.h"
#include "toolkit/SkinTexts.h"

namespace groupcontrol {

namespace keys = common::settings;

namespace {

// Stored and not true: absent counts as "ask before closing".
bool storedFalse(const common::GlobalSettings& settings, const keys::BoolKey& key) {
    const common::ConfigDocument* doc = settings.document();
    return doc && doc->has(key.name) && !settings.get(key);
}

// Decimal digits only, read as the wide-text-to-int conversion does (too large a number saturates).
std::optional<int> digitsValue(const std::wstring& text) {
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; }))
        return std::nullopt;
    const long long value = std::wcstoll(text.c_str(), nullptr, 10);
    return static_cast<int>(std::min<long long>(value, INT_MAX));
}

} // namespace

KVGroupControlSetuup::KVGroupControlSetuup(common::GlobalSettings& settings, std::function<void()> onSaved)
    : m_settings(settings), m_onSaved(std::move(onSaved)) {}

bool KVGroupControlSetuup::create(const ui::ControlFactory& factory, std::string_view skin) {
    std::wstring error;
    if (!ui::SkinParser(factory).parseWindow(skin, m_window, error)) {
        KVLOG(L"group control setup skin not loaded: %s", error);
        return false;
    }
    if (m_window.root()) ui::translateSkinTexts(*m_window.root(), common::lang::lookUp);
    m_window.setKind(ui::WindowKind::Dialog);
    m_window.addNotifier([this](const ui::Notify& n) { onNotify(n); });
    return true;
}

bool KVGroupControlSetuup::checked(std::wstring_view name) const {
    const auto* option = m_window.find<ui::Option>(name);
    return option && option->selected();
}

void KVGroupControlSetuup::check(std::wstring_view name, bool on) {
    if (auto* option = m_window.find<ui::Option>(name)) option->setSelected(on, false);
}

void KVGroupControlSetuup::open() {
    m_settings.reload();
    check(L"hideOffLineOption", m_settings.get(keys::groupcontrolHideOffLinePlayer));
    check(L"savePosOption", m_settings.get(keys::groupcontrolSavePos));
    check(L"closeNoiceOption", storedFalse(m_settings, keys::groupcontrolCloseNoice));
    const bool automatic = !storedFalse(m_settings, keys::groupAutoSort);
    check(L"autoSortOption", automatic);
    check(L"sizeSortOption", !automatic);
    if (auto* edit = m_window.findControl(L"sortNumberEdit"))
        edit->setText(std::to_wstring(m_settings.get(keys::groupSortNumber)));
    enableNumber();
}

void KVGroupControlSetuup::enableNumber() {
    if (auto* edit = m_window.findControl(L"sortNumberEdit")) edit->setEnabled(!checked(L"autoSortOption"));
}

void KVGroupControlSetuup::save() {
    m_settings.reload();
    m_settings.set(keys::groupcontrolHideOffLinePlayer, checked(L"hideOffLineOption"));
    m_settings.set(keys::groupcontrolSavePos, checked(L"savePosOption"));
    m_settings.set(keys::groupcontrolCloseNoice, !checked(L"closeNoiceOption"));
    m_settings.set(keys::groupAutoSort, checked(L"autoSortOption"));
    const auto* edit = m_window.findControl(L"sortNumberEdit");
    if (const auto number = digitsValue(edit ? edit->text() : L"")) m_settings.set(keys::groupSortNumber, *number);
    if (!m_settings.save()) KVLOG(L"the group control settings could not be saved");
    m_window.close(1);
    if (m_onSaved) m_onSaved();
}

void KVGroupControlSetuup::onNotify(const ui::Notify& n) {
    if (n.type != ui::events::kClick || !n.sender) return;
    const std::wstring_view name = n.sender->name();
    if (name == L"autoSortOption" || name == L"sizeSortOption") return enableNumber();
    if (name == L"saveBtn") return save();
    if (name == L"closebtn" || name == L"cancelBtn") m_window.close(0);
}

} // namespace groupcontrol
