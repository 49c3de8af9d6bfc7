#pragma once
// The request header lines every download sends, shared by the libcurl client and the WinINet client so
// that the servers see the same request from both.

namespace net {

inline constexpr const char* kContentTypeHeader = "Content-Type: application/x-www-form-urlencoded";
inline constexpr const char* kUserAgent = "Mozilla/5.0 (Windows NT 6.1) AppleWebKit/537.36 (KHTML, like Gecko) "
                                          "Chrome/69.0.2228.0 Safari/537.36";
inline constexpr const char* kUserAgentHeaderName = "User-Agent: ";
// Sent by the WinINet client only (libcurl sends its own "Accept: */*").
inline constexpr const char* kAcceptHeader = "Accept: */*";
inline constexpr const char* kAcceptLanguageHeader = "Accept-Language: zh-CN";

} // namespace net
