#include "core/product/ProductLine.h"

namespace product {
namespace {

constexpr std::array<ProductLineInfo, kProductCount> kLines = {{
    {KV_PRODUCT_71_32,
     0,
     "player5",
     L"Software\\Norvane\\KVPlayer",
     {L"\\KVPlayer5.lnk", L"\\KVPlayer4.lnk"},
     L"{20160302-cccc-dddd-aaaa-0000%08x}",
     L"{20160302-cccc-dddd-baba-0000%08x}",
     FolderCheck::Android71Or51,
     L"player32"},
    {KV_PRODUCT_71_64,
     1,
     "player64",
     L"Software\\Norvane\\KVPlayer64",
     {L"\\KVPlayer64.lnk", L""},
     L"{20160302-cccc-dddd-aa64-0000%08x}",
     L"{20160302-cccc-dddd-ba64-0000%08x}",
     FolderCheck::Android71Or51,
     L"player64"},
    {KV_PRODUCT_9,
     5,
     "player9",
     L"Software\\Norvane\\KVPlayer9",
     {L"\\KVPlayer9.lnk", L""},
     L"{20160302-cccc-dddd-aa99-0000%08x}",
     L"{20160302-cccc-dddd-ba99-0000%08x}",
     FolderCheck::Android9,
     L"player9"},
    {KV_PRODUCT_51,
     3,
     "player3",
     L"Software\\Pellorn\\KVPlayer",
     {L"\\KVPlayer.lnk", L""},
     L"{20160302-cccc-dddd-aa33-0000%08x}",
     L"{20160302-aaaa-bbbb-baba-0000%08x}",
     FolderCheck::Android71Or51,
     L"player3"},
    {KV_PRODUCT_14,
     10,
     "player14",
     L"Software\\Norvane\\KVPlayer14",
     {L"\\KVPlayer14.lnk", L""},
     L"{20160302-cccc-dddd-aa14-0000%08x}",
     L"{20160302-cccc-dddd-ba14-0000%08x}",
     FolderCheck::Android14,
     L"player14"},
}};

} // namespace

bool isProductType(int value) {
    return value >= 0 && value < kProductCount;
}

const ProductLineInfo& productLine(KV_PRODUCT_TYPE type) {
    return kLines[isProductType(type) ? static_cast<std::size_t>(type) : 0];
}

std::int32_t encodeInstanceId(KV_PRODUCT_TYPE type, int index) {
    if (type == KV_PRODUCT_71_32) return index;
    const auto code = static_cast<std::uint32_t>(productLine(type).idCode);
    return static_cast<std::int32_t>((code << 24) + (static_cast<std::uint32_t>(index) & 0xFFFFFF));
}

std::optional<KV_PRODUCT_TYPE> productOfIdCode(int code) {
    switch (code) {
    case 0:
        return KV_PRODUCT_71_32;
    case 1:
        return KV_PRODUCT_71_64;
    case 5:
        return KV_PRODUCT_9;
    case 3:
        return KV_PRODUCT_51;
    case 10:
        return KV_PRODUCT_14;
    default:
        return std::nullopt;
    }
}

KV_PRODUCT_TYPE productOfId(std::int32_t id) {
    return productOfIdCode(static_cast<int>((static_cast<std::uint32_t>(id) >> 24) & 0xFF)).value_or(KV_PRODUCT_71_32);
}

int indexOfId(std::int32_t id) {
    if (productOfId(id) == KV_PRODUCT_71_32) return id;
    return static_cast<int>(static_cast<std::uint32_t>(id) & 0xFFFFFF);
}

std::wstring expandPattern(std::wstring_view pattern, int index) {
    static constexpr std::wstring_view kHole = L"%08x";
    static constexpr wchar_t kHex[] = L"0123456789abcdef";
    std::wstring out(pattern);
    const auto at = out.find(kHole);
    if (at == std::wstring::npos) return out;
    wchar_t digits[8];
    auto v = static_cast<std::uint32_t>(index);
    for (int i = 7; i >= 0; --i, v >>= 4) digits[i] = kHex[v & 0xF];
    out.replace(at, kHole.size(), digits, 8);
    return out;
}

} // namespace product
