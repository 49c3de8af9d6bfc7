#include "core/product/ProductLine.h"

#include <gtest/gtest.h>

TEST(ProductLine, InstanceIdsCarryTheLineCodeInTheHighByte) {
    EXPECT_EQ(product::encodeInstanceId(KV_PRODUCT_71_32, 7), 7);
    EXPECT_EQ(product::encodeInstanceId(KV_PRODUCT_71_64, 7), 0x01000007);
    EXPECT_EQ(product::encodeInstanceId(KV_PRODUCT_9, 7), 0x05000007);
    EXPECT_EQ(product::encodeInstanceId(KV_PRODUCT_51, 7), 0x03000007);
    EXPECT_EQ(product::encodeInstanceId(KV_PRODUCT_14, 7), 0x0A000007);
    for (int line = 0; line < product::kProductCount; ++line) {
        for (int index : {0, 1, 12, 0xFFFFFF}) {
            const auto id = product::encodeInstanceId(static_cast<KV_PRODUCT_TYPE>(line), index);
            EXPECT_EQ(product::productOfId(id), line);
            EXPECT_EQ(product::indexOfId(id), index);
        }
    }
}

TEST(ProductLine, UnknownHighBytesDecodeAsLineZeroWithTheWholeId) {
    EXPECT_EQ(product::productOfId(0x02000005), KV_PRODUCT_71_32);
    EXPECT_EQ(product::indexOfId(0x02000005), 0x02000005);
    EXPECT_EQ(product::productOfId(-1), KV_PRODUCT_71_32);
    EXPECT_EQ(product::indexOfId(-1), -1);
}

TEST(ProductLine, PatternsTakeTheIndexAsEightLowerCaseHexDigits) {
    EXPECT_EQ(product::expandPattern(product::productLine(KV_PRODUCT_71_32).mutexPattern, 26), L"{20160302-cccc-dddd-aaaa-00000000001a}");
    EXPECT_EQ(product::expandPattern(product::productLine(KV_PRODUCT_51).windowClassPattern, 255),
              L"{20160302-aaaa-bbbb-baba-0000000000ff}");
    EXPECT_EQ(product::expandPattern(L"no hole", 3), L"no hole");
    EXPECT_TRUE(product::usesVdi(KV_PRODUCT_14));
    EXPECT_FALSE(product::usesVdi(KV_PRODUCT_9));
}
