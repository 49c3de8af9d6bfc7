// Shell links saved through IShellLinkW, read back by our reader and compared with what the shell itself
// reads from the same file.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "core/formats/ShellLink.h"
#include "support/ShellLinks_win.h"
#include "support/WinProcess_win.h"

using testing_support::ComApartment;
using testing_support::saveShellLink;

namespace {

template <class T>
struct ComPtr {
    T* p = nullptr;
    ~ComPtr() {
        if (p) p->Release();
    }
    T* operator->() const { return p; }
};

struct ShellView {
    std::wstring path, arguments, folder;
};

ShellView loadThroughTheShell(const std::filesystem::path& file) {
    ShellView view;
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> persist;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link.p))) ||
        FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist.p))) ||
        FAILED(persist->Load(file.c_str(), STGM_READ)))
        return view;
    wchar_t buffer[1024] = L"";
    if (SUCCEEDED(link->GetPath(buffer, 1024, nullptr, SLGP_RAWPATH))) view.path = buffer;
    buffer[0] = 0;
    if (SUCCEEDED(link->GetArguments(buffer, 1024))) view.arguments = buffer;
    buffer[0] = 0;
    if (SUCCEEDED(link->GetWorkingDirectory(buffer, 1024))) view.folder = buffer;
    return view;
}

void expectSameAsTheShell(const std::filesystem::path& file) {
    const auto ours = common::formats::readShellLinkFile(file);
    ASSERT_TRUE(ours.has_value());
    const ShellView shell = loadThroughTheShell(file);
    EXPECT_FALSE(shell.path.empty());
    EXPECT_EQ(ours->targetPath, shell.path);
    EXPECT_EQ(ours->arguments, shell.arguments);
    EXPECT_EQ(ours->workingDirectory, shell.folder);
}

} // namespace

TEST(ShellLinkWin, ReadsLinksSavedThroughIShellLinkLikeTheShellDoes) {
    ComApartment com;
    testing_support::WinTempDir dir;
    const auto folder = dir.path() / L"\u6a21\u62df\u5668 14"; // a target in a folder with Chinese characters
    std::filesystem::create_directories(folder);
    std::ofstream(folder / L"rqplayer.exe") << "MZ";
    const auto notepad = dir.path() / L"KVPlayer14.lnk";
    ASSERT_TRUE(saveShellLink(notepad, L"C:\\windows\\system32\\notepad.exe", L"index=3 \u5b9e\u4f8b", L"C:\\windows"));
    ASSERT_TRUE(saveShellLink(dir.path() / L"KVPlayer9.lnk", folder / L"rqplayer.exe", L"index=12", folder));
    expectSameAsTheShell(notepad);
    expectSameAsTheShell(dir.path() / L"KVPlayer9.lnk");
    EXPECT_EQ(common::formats::readShellLinkFile(notepad)->targetPath, L"C:\\windows\\system32\\notepad.exe");

    // Refreshes the committed copy the native tests read (tests/data/wine-made.lnk).
    if (const char* keep = std::getenv("KVMULTI_SAVE_LINK_TO")) {
        std::filesystem::copy_file(notepad, testing_support::windowsPathOf(keep),
                                   std::filesystem::copy_options::overwrite_existing);
    }
}
