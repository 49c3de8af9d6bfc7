// kvdemoserver.exe <program folder> <installer>: the demo's download server on 127.0.0.1. It serves the
// download document (naming the installer's SHA-256) and the stand-in installer as line 0's package, and
// points the manager at itself through "servers.ini" in the program folder. The package pauses halfway for up
// to four seconds, so that the product row's progress can be seen. Runs until it is ended.

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "core/install/InstallPackages.h"
#include "core/install/Sha256.h"
#include "support/TestHttpServer.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kvdemoserver <program folder> <installer>\n");
        return 2;
    }
    const std::filesystem::path program = argv[1];
    std::ifstream in(std::filesystem::path(argv[2]), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string installer = bytes.str();
    if (!in || installer.empty()) {
        std::fprintf(stderr, "kvdemoserver: installer not readable\n");
        return 2;
    }
    testing_support::TestHttpServer server;
    if (server.port() == 0) return 1;
    const install::PackageInfo& package = install::packageInfo(KV_PRODUCT_71_32);
    server.serve(std::string(install::kDocumentPath), {R"({")" + std::string(package.documentKey) + R"(":{"sha256":")" +
                                                       install::sha256OfBytes(installer) + R"("}})"});
    server.serve(std::string(package.packagePath),
                 {installer, 200, testing_support::Behaviour::Gated, installer.size() / 2});
    const std::string base = server.url("");
    std::ofstream(program / "servers.ini", std::ios::binary | std::ios::trunc)
        << "[servers]\r\nresource=" << base << "\r\ndownload=" << base << "\r\n";
    std::printf("kvdemoserver on %s\n", base.c_str());
    std::fflush(stdout);
    for (;;) { // a download waits at its half for up to four seconds
        Sleep(4000);
        server.releaseGate();
        Sleep(100);
        server.closeGate();
    }
}
