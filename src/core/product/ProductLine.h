#pragma once
// The five emulator product lines: their numbers, instance-id codes and per-line names.
//
// An instance id is the line's code in the high byte and the instance index in the low 24 bits; line 0 uses
// the bare index. Line 4 (Android 14) stores its disks as ".vdi", every other line as ".vmdk".

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum KV_PRODUCT_TYPE : std::int32_t {
    KV_PRODUCT_71_32 = 0, // Android 7.1, 32-bit
    KV_PRODUCT_71_64 = 1, // Android 7.1, 64-bit
    KV_PRODUCT_9 = 2,     // Android 9, 64-bit
    KV_PRODUCT_51 = 3,    // Android 5.1, 32-bit
    KV_PRODUCT_14 = 4,    // Android 14, 64-bit
};

namespace product {

inline constexpr int kProductCount = 5;

// Which version check an install folder of the line must pass.
enum class FolderCheck { Android71Or51, Android9, Android14 };

struct ProductLineInfo {
    KV_PRODUCT_TYPE type;
    std::uint8_t idCode;                        // high byte of the line's instance ids
    std::string_view configKey;                 // key in "pathconfig.ini", section "setting"
    std::wstring_view registryKey;              // below HKEY_CURRENT_USER
    std::array<std::wstring_view, 2> shortcuts; // desktop shortcuts in the order tried; second may be empty
    std::wstring_view mutexPattern;             // "%08x" stands for the instance index
    std::wstring_view windowClassPattern;
    FolderCheck check;
    std::wstring_view logName; // "player32", "player64", "player9", "player3", "player14"
};

const ProductLineInfo& productLine(KV_PRODUCT_TYPE type);
bool isProductType(int value);

std::int32_t encodeInstanceId(KV_PRODUCT_TYPE type, int index);
// The line of an instance id; an id whose high byte names no line is line 0's (its ids are bare indices).
KV_PRODUCT_TYPE productOfId(std::int32_t id);
// The line whose ids carry this high byte, none for a byte no line uses.
std::optional<KV_PRODUCT_TYPE> productOfIdCode(int code);
int indexOfId(std::int32_t id);

// A pattern with its "%08x" replaced by the index in eight lower-case hexadecimal digits.
std::wstring expandPattern(std::wstring_view pattern, int index);

inline bool usesVdi(KV_PRODUCT_TYPE type) {
    return type == KV_PRODUCT_14;
}

} // namespace product
