#pragma once

#include "app/MainWindow.h"
#include "link/MonitorLink.h"
#include "link/RuntimeDirectory.h"
#include "skin/AppContext.h"
#include "tests/TempProgramFolder.h"

#include <functional>
#include <memory>
#include <unistd.h>
#include <vector>

namespace vantrel::test {

// The monitor link, noting each apply code it posts.
class RecordingLink final : public DeviceLink {
public:
    explicit RecordingLink(std::optional<std::string> dir) : m_link(std::move(dir)) {}
    OpenResult openLink() override { return m_link.openLink(); }
    bool readBlock(SharedBlock& target) override { return m_link.readBlock(target); }
    bool writeBlock(const SharedBlock& source) override { return m_link.writeBlock(source); }
    bool notifyMonitor(uint32_t code) override {
        codes.push_back(code);
        return m_link.notifyMonitor(code);
    }
    void closeLink() override { m_link.closeLink(); }

    std::vector<uint32_t> codes;

private:
    MonitorLink m_link;
};

// A program folder with the built skin and texts, a private runtime folder,
// and the main window over them.
struct AppFixture {
    TempDir runtimeRoot;
    TempProgramFolder folder;
    std::string runtime = *RuntimeDirectory::locate(runtimeRoot.folder().c_str(), ::getuid());
    std::unique_ptr<AppContext> context;
    std::unique_ptr<RecordingLink> link;
    std::unique_ptr<MainWindow> window;
    std::vector<QUrl> opened;

    MainWindow& start() {
        window.reset();
        context = std::make_unique<AppContext>(folder.folder(), runtime);
        context->setUrlOpener([this](const QUrl& url) { opened.push_back(url); });
        link = std::make_unique<RecordingLink>(runtime);
        window = std::make_unique<MainWindow>(*context, *link);
        window->show();
        return *window;
    }

    // The next file dialog picks this path, after check has looked at what it asked.
    void chooseFile(
        const std::string& path,
        std::function<void(const FileRequest&)> check = [](const FileRequest&) {}) {
        context->dialogs().files().answerNext(
            [path, check](const FileRequest& request) -> std::optional<QString> {
                check(request);
                return QString::fromStdString(path);
            });
    }
};

} // namespace vantrel::test
