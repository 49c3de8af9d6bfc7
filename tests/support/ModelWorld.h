#pragma once
// What a model needs around it in a native test: a program folder, product lines installed in temporary
// folders and found through fake install sources, a fake desktop and window system, and named instances.
// Test fixtures derive from it so the model they own can be built from these members.

#include <filesystem>
#include <string>

#include "core/model/KVMultiModel.h"
#include "core/storage/ConfigDocument.h"
#include "core/storage/Desktop.h"
#include "core/storage/InstanceKeys.h"
#include "support/FakeInstallSources.h"
#include "support/FakeInstanceDesktop.h"
#include "support/FakeWindowSystem.h"
#include "support/TempDir.h"

namespace testing_support {

struct ModelWorld {
    TempDir program;
    TempDir installs;
    FakeInstallSources sources;
    FakeInstanceDesktop desktop;
    FakeWindowSystem windows;
    common::PlayerSet players;

    // The storage objects reach instances through the same fake desktop as the model.
    ModelWorld() { common::setDesktop(&desktop); }
    ~ModelWorld() { common::setDesktop(nullptr); }
    ModelWorld(const ModelWorld&) = delete;
    ModelWorld& operator=(const ModelWorld&) = delete;

    // Line `line` installed at installs/<key> with the emulator `version`, its name patterns set.
    void install(KV_PRODUCT_TYPE line, const std::wstring& key, const std::wstring& version) {
        const auto folder = installs / key;
        std::filesystem::create_directories(folder / "vms");
        sources.install(folder.wstring(), version);
        sources.config[key] = folder.wstring();
        const auto& info = product::productLine(line);
        players.line(line).setNamePatterns(std::wstring(info.mutexPattern), std::wstring(info.windowClassPattern));
        players.line(line).init(folder);
    }
    void addInstance(KV_PRODUCT_TYPE line, int index, const std::wstring& name) {
        common::Players& p = players.line(line);
        std::filesystem::create_directories(p.instanceFolder(index));
        common::ConfigDocument doc;
        doc.load(p.configPath(index));
        doc.setString(common::keys::kPlayerName, name);
        (void)doc.save();
        p.addIndex(index);
    }
};

} // namespace testing_support
