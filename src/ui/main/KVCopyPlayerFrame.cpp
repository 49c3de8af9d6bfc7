#include "ui/main/KVCopyPlayerFrame.h"

#include <algorithm>

#include "core/lang/LanguageStrings.h"
#include "core/log/Log.h"
#include "toolkit/Combo.h"
#include "toolkit/SkinParser.h"
#include "toolkit/SkinTexts.h"
#include "ui/main/AddPlayerChoices.h"

namespace mainui {

using common::lang::lookUpWithFallback;

namespace {

// The lines the product combo can list, in its order.
constexpr std::pair<KV_PRODUCT_TYPE, const wchar_t*> kLines[] = {{KV_PRODUCT_14, L"multis_player_product_14"},
                                                                 {KV_PRODUCT_9, L"multis_player_product_9"},
                                                                 {KV_PRODUCT_71_32, L"multis_player_product_4_32"}};

} // namespace

KVCopyPlayerFrame::KVCopyPlayerFrame(const KVMultiModel& model, Callbacks callbacks)
    : m_model(model), m_callbacks(std::move(callbacks)) {}

bool KVCopyPlayerFrame::create(const ui::ControlFactory& factory, std::string_view skin) {
    std::wstring error;
    if (!ui::SkinParser(factory).parseWindow(skin, m_window, error)) {
        KVLOG(L"copy dialog skin not loaded: %s", error);
        return false;
    }
    if (m_window.root()) ui::translateSkinTexts(*m_window.root(), common::lang::lookUp);
    m_window.setKind(ui::WindowKind::Dialog);
    m_window.setTitle(lookUpWithFallback(L"multiplay_copy_player"));
    m_window.addNotifier([this](const ui::Notify& n) { onNotify(n); });
    m_window.close(); // made hidden; show opens it
    m_window.setOnClose([this](int) {
        if (m_callbacks.closed) m_callbacks.closed();
    });
    return true;
}

void KVCopyPlayerFrame::fill(KV_PRODUCT_TYPE current, std::optional<std::int32_t> source) {
    auto* products = m_window.find<ui::Combo>(L"mnqProductCombo");
    if (!products) return;
    products->removeAll();
    int currentItem = -1;
    for (const auto& [line, key] : kLines) {
        if (m_model.playerList(line).empty()) continue;
        const int item = products->addItem(lookUpWithFallback(key), static_cast<std::int64_t>(line));
        if (line == current) currentItem = item;
    }
    if (products->items().empty()) {
        if (auto* instances = m_window.find<ui::Combo>(L"mnqCombo")) instances->removeAll();
    } else {
        products->selectItem(currentItem < 0 ? 0 : currentItem);
        fillInstances(static_cast<KV_PRODUCT_TYPE>(products->selectedItem()->tag), source);
    }
    if (auto* num = m_window.findControl(L"numEdit")) num->setText(L"1");
    if (auto* error = m_window.findControl(L"numErrorLabel")) error->setVisible(false);
}

void KVCopyPlayerFrame::show(ui::Window& owner) {
    m_window.setScale(owner.scale());
    m_window.resize(m_window.scaledInitialSize());
    m_window.showModal(owner);
}

std::optional<KV_PRODUCT_TYPE> KVCopyPlayerFrame::product() const {
    const auto* products = m_window.find<ui::Combo>(L"mnqProductCombo");
    const ui::ComboItem* item = products ? products->selectedItem() : nullptr;
    return item ? std::optional(static_cast<KV_PRODUCT_TYPE>(item->tag)) : std::nullopt;
}

// The line's instances in id order; `source` selected when it is one of them, else the first.
void KVCopyPlayerFrame::fillInstances(KV_PRODUCT_TYPE line, std::optional<std::int32_t> source) {
    auto* instances = m_window.find<ui::Combo>(L"mnqCombo");
    if (!instances) return;
    instances->removeAll();
    std::vector<const model::InstanceRecord*> records;
    for (const model::InstanceRecord& record : m_model.playerList(line)) records.push_back(&record);
    std::sort(records.begin(), records.end(), [](auto* a, auto* b) { return a->id < b->id; });
    int chosen = 0;
    for (const model::InstanceRecord* record : records) {
        const int item = instances->addItem(record->name, record->id);
        if (source && record->id == *source) chosen = item;
    }
    if (!records.empty()) instances->selectItem(chosen);
}

void KVCopyPlayerFrame::onNotify(const ui::Notify& n) {
    if (!n.sender) return;
    const std::wstring& name = n.sender->name();
    if (n.type == ui::events::kClick) {
        if (name == L"sureBtn") return confirm();
        if (name == L"cancelBtn" || name == L"closebtn") return m_window.close();
    } else if (n.type == ui::events::kItemSelect && name == L"mnqProductCombo") {
        if (const std::optional<KV_PRODUCT_TYPE> line = product()) fillInstances(*line, std::nullopt);
    }
}

void KVCopyPlayerFrame::confirm() {
    const ui::Control* num = m_window.findControl(L"numEdit");
    const std::optional<int> count = parseCount(num ? num->text() : L"");
    if (auto* error = m_window.findControl(L"numErrorLabel")) error->setVisible(!count);
    if (!count) {
        KVLOG(L"copy count refused: %s", num ? num->text() : std::wstring());
        return;
    }
    const auto* instances = m_window.find<ui::Combo>(L"mnqCombo");
    const ui::ComboItem* item = instances ? instances->selectedItem() : nullptr;
    if (!item) {
        KVLOG(L"copy confirmed without an instance to copy");
        return;
    }
    const auto source = static_cast<std::int32_t>(item->tag);
    m_window.close(1);
    if (m_callbacks.copy) m_callbacks.copy(source, *count);
}

} // namespace mainui
