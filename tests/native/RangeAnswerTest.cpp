#include "core/net/RangeAnswer.h"

#include <gtest/gtest.h>

using net::BodyPlacement;

namespace {

struct RangeCase {
    std::int64_t offset;
    long status;
    const char* contentRange;
    BodyPlacement expected;
};

constexpr RangeCase kRangeCases[] = {
    {5242880, 206, "bytes 5242880-6291455/6291456", BodyPlacement::Append},
    {5242880, 206, "bytes 5242880-6291455/*", BodyPlacement::Append},
    {5242880, 200, "", BodyPlacement::FromZero}, // the server ignored the range
    {5242880, 206, "bytes 0-6291455/6291456", BodyPlacement::Refuse},
    {5242880, 206, "bytes 5242881-6291455/6291456", BodyPlacement::Refuse},
    {5242880, 206, "", BodyPlacement::Refuse},
    {5242880, 206, "bytes 5242880-6291455/6291455", BodyPlacement::Refuse}, // last byte beyond the total
    {5242880, 206, "bytes 99999999999999999999-1/2", BodyPlacement::Refuse},
    {5242880, 204, "", BodyPlacement::Refuse},
    {0, 200, "", BodyPlacement::FromZero},
    {0, 206, "bytes 0-99/100", BodyPlacement::FromZero},
    {0, 206, "bytes 10-99/100", BodyPlacement::Refuse},
};

} // namespace

TEST(RangeAnswer, OnlyA206StartingAtTheOffsetIsAppendedAndA200StartsAgainFromZero) {
    for (const RangeCase& c : kRangeCases) {
        EXPECT_EQ(net::placeBody(c.offset, c.status, c.contentRange), c.expected)
            << c.offset << " " << c.status << " [" << c.contentRange << "]";
    }
}
