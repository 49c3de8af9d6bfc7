#include "core/storage/PlayerConfig.h"

#include "core/storage/Identity.h"
#include "core/storage/InstanceKeys.h"
#include "core/storage/KVPhoneConfig.h"
#include "core/storage/Players.h"

namespace common {

std::filesystem::path PlayerConfig::configPathOf(const std::filesystem::path& baseFolder, int index) {
    if (index == -1) return {};
    return baseFolder / "vms" / "config" / (Players::instanceName(index) + L".config");
}

void PlayerConfig::load(const std::filesystem::path& baseFolder, int index) {
    m_doc = ConfigDocument();
    m_doc.load(configPathOf(baseFolder, index));
    if (index != -1 && m_doc.memberCount() == 0) giveNewIdentity();
    fillMissing();
    (void)m_doc.save(); // a failed write is logged by the writer; the completed values still serve this run
}

void PlayerConfig::giveNewIdentity() {
    const PhoneInfo phone = KVPhoneConfig::instance().pick();
    m_doc.setString(keys::kPhoneImei, identity::imei());
    m_doc.setString(keys::kPhoneImsi, identity::imsi());
    m_doc.setString(keys::kPhoneSimSerial, identity::simSerial());
    m_doc.setString(keys::kPhoneAndroidId, identity::androidId());
    m_doc.setString(keys::kPhoneModel, phone.model);
    m_doc.setString(keys::kPhoneManufacturer, phone.maker);
    m_doc.setString(keys::kMacAddress, identity::macAddress());
    m_doc.setBool(keys::kIsNewPlayer, true);
}

void PlayerConfig::fillMissing() {
    if (m_doc.getString(keys::kPhoneModel).empty()) m_doc.setString(keys::kPhoneModel, L"NX709S");
    if (m_doc.getString(keys::kPhoneManufacturer).empty()) m_doc.setString(keys::kPhoneManufacturer, L"nubia");
    if (m_doc.getString(keys::kPhoneImei).empty()) m_doc.setString(keys::kPhoneImei, identity::imei());
}

} // namespace common
