#pragma once
// The largest body either client takes into memory. The download-information document is a few
// kilobytes; an answer larger than this is not that document and must not fill the memory.

#include <cstddef>

namespace net {

inline constexpr std::size_t kMaxDocumentBytes = 1048576;

} // namespace net
