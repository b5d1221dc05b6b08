#include "link/RuntimeDirectory.h"
#include "monitor/devices/EvdevKeyboards.h"
#include "monitor/devices/KeyDriver.h"
#include "monitor/devices/UinputDevice.h"
#include "monitor/engine/DryRunPrinter.h"
#include "monitor/games/WindowSource.h"
#include "monitor/lighting/KeyboardLighting.h"
#include "monitor/lighting/OpenRgbClient.h"
#include "monitor/service/DesktopNotices.h"
#include "monitor/service/Monitor.h"
#include "monitor/service/MonitorCommands.h"
#include "monitor/service/StatusSocket.h"
#include "settings/ConfigFolder.h"
#include "settings/IniFile.h"
#include "settings/LanguageStrings.h"
#include "settings/ProgramFolder.h"
#include "settings/WorkingSet.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <poll.h>
#include <string>
#include <sys/signalfd.h>
#include <unistd.h>
#include <vector>

using namespace vantrel;

namespace {

constexpr const char* kHelp =
    "Usage: vantrel-monitor [--answer-delay MS] [--device NAME]...\n"
    "                       [--openrgb HOST:PORT|off] [--openrgb-device NAME]...\n"
    "                       [--no-notices]\n"
    "       vantrel-monitor --dry-run [--device NAME]...\n"
    "       vantrel-monitor COMMAND ARGS\n"
    "\n"
    "Without a command, runs the monitor: creates the shared block (from the\n"
    "working profiles, or factory values), its mutex and the monitor's mailbox in\n"
    "the runtime folder, and answers every apply of the configuration program\n"
    "with \"apply finished\" (after MS milliseconds with --answer-delay). Ends on\n"
    "SIGTERM or SIGINT and removes what it created.\n"
    "\n"
    "With access to /dev/uinput and the keyboards in /dev/input it also makes the\n"
    "current profile's key functions real: it holds every keyboard (or those\n"
    "named with --device, by name or /dev/input/event* path) and types what\n"
    "each key is set to on a virtual keyboard and mouse. Without that access it\n"
    "says why once and only serves the configuration program.\n"
    "Left Shift + Right Shift + Escape lets go of the keyboards at once; the\n"
    "same chord takes them again.\n"
    "\n"
    "It shows the current profile's lighting effect on RGB keyboards through\n"
    "OpenRGB: it connects to OpenRGB's SDK server at HOST:PORT (--openrgb,\n"
    "127.0.0.1:6742 unless told otherwise; \"--openrgb off\" turns this off),\n"
    "takes every controller of the keyboard type (or those named with\n"
    "--openrgb-device) into its direct mode and lights each key LED as the\n"
    "key's position on the keyboard picture; other LEDs keep their colour.\n"
    "Without a server it says so once and tries again every 5 seconds. It\n"
    "only connects; it never listens on the network.\n"
    "\n"
    "Before the machine sleeps (logind on the system bus) it lets go of every\n"
    "key and stops the macros playing; after it, it shows the lights again and\n"
    "holds the keyboards that come back.\n"
    "\n"
    "When it switches the profile itself (a profile key, a game) or a lighting\n"
    "key changes the brightness or the effect, it says so in a short desktop\n"
    "notice, each replacing the one before; --no-notices turns them off.\n"
    "\n"
    "--dry-run reads the keyboards without holding them and prints, for each\n"
    "key event, what the current profile would send. It takes the profile from\n"
    "the running monitor, or from the working profiles, once at its start.\n"
    "\n"
    "The working files (config.ini, config/) are beside this program when its\n"
    "folder is writable, else in $XDG_CONFIG_HOME/vantrel-gaming-keyboard/\n"
    "(~/.config/vantrel-gaming-keyboard/), as the configuration program keeps them.\n"
    "\n"
    "Commands for a running monitor:\n"
    "  firmware VERSION       write FWVersion=VERSION into config.ini and post\n"
    "                         \"firmware changed\" (1254)\n"
    "  rename PROFILE NAME    rename profile PROFILE (0..4) in the block and post\n"
    "                         \"block changed\" (1255)\n"
    "  switch PROFILE EFFECT  make PROFILE current, set its effect (LtSwitch) to\n"
    "                         EFFECT and post \"device changed\" (1257)\n"
    "  status                 print what the running monitor holds and drives:\n"
    "                         its keyboards, profile, lighting, games and the\n"
    "                         problems it met (status 1 when none runs)\n"
    "  flags                  print the block's current profile and change flags\n"
    "                         (the marks the last apply carried)\n"
    "  --help                 show this text\n"
    "  --version              show the version\n";

// Another monitor runs (or the runtime folder cannot be used): a status of
// its own, on which the user service does not restart.
constexpr int kNotStarted = 3;
constexpr const char* kSystemdRun = "/usr/bin/systemd-run";

int usage() {
    std::fputs(kHelp, stderr);
    return 2;
}

int32_t number(const char* text) {
    return IniFile::parseInt(text);
}

struct Options {
    bool dryRun = false;
    int answerDelayMs = 0;
    std::vector<std::string> devices;
    std::string openRgb = "127.0.0.1:6742";
    std::vector<std::string> openRgbDevices;
    bool notices = true;
};

// The options of a monitor run; false on anything else.
bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--dry-run") {
            options.dryRun = true;
        } else if (option == "--answer-delay" && i + 1 < argc) {
            options.answerDelayMs = number(argv[++i]);
        } else if (option == "--device" && i + 1 < argc) {
            options.devices.push_back(argv[++i]);
        } else if (option == "--openrgb" && i + 1 < argc) {
            options.openRgb = argv[++i];
        } else if (option == "--no-notices") {
            options.notices = false;
        } else if (option == "--openrgb-device" && i + 1 < argc) {
            options.openRgbDevices.push_back(argv[++i]);
        } else {
            return false;
        }
    }
    return true;
}

// SIGTERM and SIGINT arrive as a readable descriptor.
int stopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    sigprocmask(SIG_BLOCK, &signals, nullptr);
    return ::signalfd(-1, &signals, SFD_CLOEXEC);
}

void warn(const std::string& text) {
    std::fprintf(stderr, "vantrel-monitor: %s\n", text.c_str());
}

int runMonitor(const std::string& dir, const std::string& folder, const Options& options) {
    const int stopFd = stopSignals();
    Monitor monitor(dir, folder, ConfigFolder::locate(folder));
    monitor.setAnswerDelay(std::chrono::milliseconds(options.answerDelayMs));
    if (stopFd < 0 || !monitor.publish()) {
        warn("another monitor runs, or the runtime folder is unusable");
        return kNotStarted;
    }
    // As the user service the monitor is sandboxed; the programs its keys
    // launch start as the user's own, through the user manager.
    if (std::getenv("INVOCATION_ID") && ::access(kSystemdRun, X_OK) == 0)
        monitor.launchThrough({kSystemdRun, "--user", "--no-block", "--collect", "--quiet", "--"});
    // Said once on standard error, and kept for "vantrel-monitor status".
    const auto problem = [&](const std::string& text) {
        warn(text);
        monitor.noteProblem(text);
    };
    std::string whyNot;
    auto output = UinputDevice::create(whyNot);
    auto keyboards = std::make_unique<EvdevKeyboards>(options.devices, true);
    if (!output || !keyboards->open(whyNot)) {
        problem("keys are not remapped: " + whyNot);
    } else {
        if (!whyNot.empty())
            warn(whyNot + "; keyboards plugged in later are taken");
        monitor.attachKeyboard(std::move(keyboards), std::move(output));
    }
    std::string source;
    if (auto windows = WindowSource::open(folder, source)) {
        warn("profiles follow games through " + source);
        monitor.followGames(std::move(windows), source);
    } else {
        problem("profiles do not follow games: " + source);
    }
    if (options.openRgb != "off") {
        if (auto endpoint = OpenRgbClient::resolve(options.openRgb, whyNot))
            monitor.showLighting(std::make_unique<KeyboardLighting>(
                std::make_unique<OpenRgbClient>(std::move(*endpoint), options.openRgbDevices)));
        else
            problem("no lighting through OpenRGB: " + whyNot);
    }
    if (!monitor.watchSleep(whyNot))
        warn("keys are not let go of before sleep: " + whyNot);
    if (options.notices) {
        if (auto notices = DesktopNotices::open(LanguageStrings(folder + "lan.ini"), whyNot))
            monitor.showNotices(std::move(notices));
        else
            warn("no desktop notices: " + whyNot);
    }
    monitor.run(stopFd);
    monitor.withdraw();
    ::close(stopFd);
    return 0;
}

int dryRun(const std::string& dir, const std::string& folder, const Options& options) {
    auto block = std::make_unique<SharedBlock>();
    if (MonitorCommands::readBlock(dir, *block)) {
        // A grab hands a keyboard's keys to the grabber alone.
        warn("a monitor runs: while it holds the keyboards, no key reaches this dry run "
             "(Left Shift + Right Shift + Escape lets go of them)");
    } else {
        WorkingSet(ConfigFolder::locate(folder))
            .readWorkingSet(*block, LanguageStrings(folder + "lan.ini"));
    }
    const int current = std::clamp(block->CurrentProfile, 0, kProfileCount - 1);

    auto keyboards = std::make_unique<EvdevKeyboards>(options.devices, false);
    std::string whyNot;
    if (!keyboards->open(whyNot)) {
        warn(whyNot);
        return 1;
    }
    if (!whyNot.empty())
        warn(whyNot + "; waiting for a keyboard");
    for (const std::string& line : keyboards->describe())
        std::printf("reading %s\n", line.c_str());
    std::printf("profile %d \"%s\"\n", current + 1, block->profiles[current].ProFileName);
    std::fflush(stdout);

    const int stopFd = stopSignals();
    DryRunPrinter printer(stdout);
    KeyDriver driver(std::move(keyboards), printer, printer);
    driver.engine().setProfile(block->profiles[current]);
    std::vector<pollfd> fds;
    for (;;) {
        fds.assign({{stopFd, POLLIN, 0}});
        driver.addFds(fds);
        if (::poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR)
            break;
        if (fds[0].revents)
            break;
        for (size_t i = 1; i < fds.size(); ++i) {
            if (fds[i].revents)
                driver.handle(fds[i].fd);
        }
    }
    ::close(stopFd);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "--help" || command == "-h") {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (command == "--version") {
        std::printf("vantrel-monitor %s\n", VANTREL_VERSION);
        return 0;
    }

    const std::optional<std::string> dir = RuntimeDirectory::locate();
    const std::string folder = ProgramFolder::locate();
    if (!dir) {
        warn("the runtime folder is unusable");
        return 1;
    }
    if (command.empty() || command.starts_with("--")) {
        Options options;
        if (!parse(argc, argv, options))
            return usage();
        return options.dryRun ? dryRun(*dir, folder, options) : runMonitor(*dir, folder, options);
    }

    MonitorCommands::Result result{};
    if (command == "firmware" && argc == 3) {
        result = MonitorCommands::firmware(*dir, ConfigFolder::locate(folder), number(argv[2]));
    } else if (command == "rename" && argc == 4) {
        result = MonitorCommands::renameProfile(*dir, number(argv[2]), argv[3]);
    } else if (command == "switch" && argc == 4) {
        result = MonitorCommands::switchProfile(*dir, number(argv[2]), number(argv[3]));
    } else if (command == "flags" && argc == 2) {
        std::string text;
        result = MonitorCommands::flags(*dir, text);
        std::fputs(text.c_str(), stdout);
    } else if (command == "status" && argc == 2) {
        const auto text = StatusSocket::ask(*dir, std::chrono::seconds(2));
        std::fputs(text ? text->c_str() : "monitor: not running\n", stdout);
        return text ? 0 : 1;
    } else {
        return usage();
    }
    if (!result)
        warn(result.failureText());
    return result ? 0 : 1;
}
