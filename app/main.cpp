#include "app/MainWindow.h"
#include "app/PlatformChoice.h"
#include "link/MonitorLink.h"
#include "link/MonitorStarter.h"
#include "link/RuntimeDirectory.h"
#include "link/SingleInstance.h"
#include "settings/ProgramFolder.h"
#include "skin/AppContext.h"
#include "skin/SkinMenuStyle.h"

#include <QApplication>
#include <QScreen>

#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

using namespace vantrel;

namespace {

constexpr const char* kHelp =
    "Usage: vantrel-config [--help | --version]\n"
    "\n"
    "The configuration program of the Vantrel RGB gaming keyboard: gives each key\n"
    "its function, sets the lighting, records macros and keeps five profiles,\n"
    "which Apply hands to the keyboard's monitor (vantrel-monitor, started when\n"
    "none runs). Only one copy runs at a time. Other arguments are ignored.\n"
    "\n"
    "  --help     show this text\n"
    "  --version  show the version\n"
    "\n"
    "The manual is \"User Manual.pdf\" in the program folder (the Manual button\n"
    "opens it); see also vantrel-config(1) and vantrel-monitor(1).\n";

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help") {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (argument == "--version") {
            std::printf("vantrel-config %s\n", VANTREL_VERSION);
            return 0;
        }
    }
    const std::optional<std::string> runtimeDir = RuntimeDirectory::locate();
    const SingleInstance instance(runtimeDir);
    if (!instance.acquired())
        return 0; // another copy runs: leave it alone, say nothing

    const std::string programFolder = ProgramFolder::locate();
    // Started before Qt has threads; Apply needs a monitor to answer.
    if (runtimeDir)
        MonitorStarter::ensureRunning(programFolder, *runtimeDir);

    // Asked for on the command line rather than in the environment, so that
    // the programs this one opens choose their own platform; a -platform the
    // user gave comes later and wins.
    std::vector<char*> arguments(argv, argv + argc);
    char platformOption[] = "-platform";
    char xcb[] = "xcb";
    if (argc > 0 &&
        PlatformChoice::asksForXcb(std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY")))
        arguments.insert(arguments.begin() + 1, {platformOption, xcb});
    int count = static_cast<int>(arguments.size());
    arguments.push_back(nullptr);
    QApplication application(count, arguments.data());
    // Every popup menu of the program gets the skinned look.
    QApplication::setStyle(new SkinMenuStyle);
    AppContext context(programFolder, runtimeDir);
    MonitorLink link(runtimeDir);
    MainWindow window(context, link);
    // Frameless, so the window manager may not place it: start in the middle.
    if (const QScreen* screen = window.screen())
        window.move(screen->availableGeometry().center() - window.rect().center());
    window.show();
    return application.exec();
}
