#pragma once
// Where a product line's installer comes from: the servers (built-in, or a mirror named in "servers.ini"
// beside the program), the download-information document and what it says about each line's package.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/product/ProductLine.h"

namespace install {

struct PackageInfo {
    std::wstring_view installerFile; // saved under this name beside the program
    std::string_view documentKey;    // its member in the download-information document
    std::string_view packagePath;    // on the download server, unless the document names another address
};
const PackageInfo& packageInfo(KV_PRODUCT_TYPE product);

// Base addresses without a trailing slash.
struct Servers {
    std::string resource; // serves the download-information document
    std::string download; // serves the packages
};
inline constexpr std::string_view kDocumentPath = "/player_files/en/vantorex";
inline constexpr std::wstring_view kServersFile = L"servers.ini";

// The built-in servers. They name no real host on purpose: a build that ships must name its servers in
// "servers.ini" (or here), and until then nothing is fetched from a stranger's machine.
Servers defaultServers();

// The built-in servers with "resource" and "download" of section "servers" in `iniText` over them; a
// malformed address is logged and ignored.
Servers parseServers(std::string_view iniText);
// The same from the file; a missing file keeps the built-in servers.
Servers loadServers(const std::filesystem::path& iniFile);
// "http://" or "https://", a host and no trailing slash, no spaces or control characters.
bool isBaseAddress(std::string_view address);

struct PackageChoice {
    std::string url;
    std::string sha256; // lower-case hex; empty when the document names none
};
// The package of `product`: its built-in address on the download server, replaced by the document member's
// "url_spare" when present and not empty; its "sha256" when present. An empty or damaged document keeps
// the built-in address.
PackageChoice choosePackage(std::string_view document, KV_PRODUCT_TYPE product, const Servers& servers);

} // namespace install
