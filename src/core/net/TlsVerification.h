#pragma once
// The one place that decides whether the download clients verify the servers' TLS certificates.
//
// They do not: the manager must be able to download a product line on old Windows installations whose
// root certificates are out of date, and behind proxies that present their own certificates, where a
// verifying client would fail and leave the user with no way to install. The price is that the channel
// proves nothing about what arrives; whatever a download brings must be checked on its own before it is
// used (an integrity check of the downloaded files is still to come). Both clients read this flag; nothing
// else may switch certificate checks off.

namespace net {

inline constexpr bool kVerifyServerCertificates = false;

} // namespace net
