#include "core/storage/Identity.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>

using namespace common::identity;

namespace {

bool allOf(std::wstring_view s, int (*pred)(std::wint_t)) {
    return std::all_of(s.begin(), s.end(), [pred](wchar_t c) { return pred(static_cast<std::wint_t>(c)) != 0; });
}

class IdentityTest : public ::testing::Test {
protected:
    void TearDown() override { setRandomSource({}); }
};

} // namespace

TEST_F(IdentityTest, ImeiHasATypeCodeThen02AndPassesLuhn) {
    const auto codes = typeAllocationCodes();
    ASSERT_EQ(codes.size(), 17u);
    for (int i = 0; i < 200; ++i) {
        const std::wstring value = imei();
        ASSERT_EQ(value.size(), 15u) << value;
        EXPECT_TRUE(allOf(value, std::iswdigit)) << value;
        EXPECT_NE(std::find(codes.begin(), codes.end(), value.substr(0, 6)), codes.end()) << value;
        EXPECT_EQ(value.substr(6, 2), L"02");
        EXPECT_TRUE(passesLuhn(value)) << value;
    }
}

TEST_F(IdentityTest, LuhnMatchesKnownNumbers) {
    EXPECT_EQ(luhnCheckDigit(L"49015420323751"), 8); // 490154203237518, a published example IMEI
    EXPECT_TRUE(passesLuhn(L"79927398713"));
    EXPECT_FALSE(passesLuhn(L"79927398710"));
    EXPECT_FALSE(passesLuhn(L"7992739871x"));
}

TEST_F(IdentityTest, OtherValuesHaveTheirPrefixesAndAlphabets) {
    for (int i = 0; i < 50; ++i) {
        const auto i1 = imsi(), sim = simSerial(), android = androidId(), mac = macAddress();
        EXPECT_EQ(i1.size(), 15u);
        EXPECT_EQ(i1.substr(0, 5), L"46000");
        EXPECT_TRUE(allOf(i1, std::iswdigit));
        EXPECT_EQ(sim.size(), 20u);
        EXPECT_EQ(sim.substr(0, 6), L"898600");
        EXPECT_TRUE(allOf(sim, std::iswdigit));
        EXPECT_EQ(android.size(), 16u);
        EXPECT_EQ(android.find_first_not_of(L"0123456789abcdef"), std::wstring::npos) << android;
        EXPECT_EQ(mac.size(), 12u);
        EXPECT_EQ(mac.substr(0, 4), L"00DB");
        EXPECT_EQ(mac.find_first_not_of(L"0123456789ABCDEF"), std::wstring::npos) << mac;
    }
}

TEST_F(IdentityTest, SeedsCountUpFromTheBaseShiftedByEightBits) {
    setRandomSource([] { return 0x100u; });
    EXPECT_EQ(randomSeed(), 0x100u << 8);
    EXPECT_EQ(randomSeed(), 0x101u << 8);
    setRandomSource([] { return 0x100u; });
    const auto first = imei();
    setRandomSource([] { return 0x100u; });
    EXPECT_EQ(imei(), first) << "the same source gives the same values";
}

TEST_F(IdentityTest, AFailingSourceFallsBackToTheTimeAndAndroidIdStillHasSixteenHexDigits) {
    setRandomSource([] { return 0u; });
    EXPECT_NE(randomSeed(), 0u);
    const auto android = androidId();
    EXPECT_EQ(android.size(), 16u);
    EXPECT_EQ(android.find_first_not_of(L"0123456789abcdef"), std::wstring::npos);
}
