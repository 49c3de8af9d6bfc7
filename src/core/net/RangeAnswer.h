#pragma once
// What a download client does with the body of an answer, given the byte offset it asked to start from:
// append it to the leftover, start the file again from zero, or refuse it. Both clients follow this rule,
// so a server that ignores the range or answers a different one never glues two files together.
//
// Only error-free answers come here; a status outside 200-299 is each client's own failure.

#include <cstdint>
#include <optional>
#include <string_view>

namespace net {

enum class BodyPlacement { Append, FromZero, Refuse };

// A request from `offset` (0: the whole file) answered with `status` and the Content-Range header's value
// (empty when absent): Append only for 206 with a range starting at `offset`; 200 starts from zero.
BodyPlacement placeBody(std::int64_t offset, long status, std::string_view contentRange);

// The first byte of "bytes N-M/T" (or "bytes N-M/*"); nothing when the value has another form.
std::optional<std::int64_t> contentRangeStart(std::string_view contentRange);

} // namespace net
