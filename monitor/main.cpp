#include "link/RuntimeDirectory.h"
#include "monitor/Monitor.h"
#include "monitor/MonitorCommands.h"
#include "settings/ConfigFolder.h"
#include "settings/IniFile.h"
#include "settings/ProgramFolder.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/signalfd.h>
#include <unistd.h>

using namespace vantrel;

namespace {

constexpr const char* kHelp =
    "Usage: vantrel-monitor [--answer-delay MS]\n"
    "       vantrel-monitor COMMAND ARGS\n"
    "\n"
    "Without a command, runs the monitor: creates the shared block (from the\n"
    "working profiles, or factory values), its mutex and the monitor's mailbox in\n"
    "the runtime folder, and answers every apply of the configuration program\n"
    "with \"apply finished\" (after MS milliseconds with --answer-delay). Ends on\n"
    "SIGTERM or SIGINT and removes what it created.\n"
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
    "  flags                  print the block's current profile and change flags\n"
    "                         (the marks the last apply carried)\n"
    "  --help                 show this text\n";

int usage() {
    std::fputs(kHelp, stderr);
    return 2;
}

int32_t number(const char* text) {
    return IniFile::parseInt(text);
}

int runMonitor(const std::string& dir, const std::string& folder, int answerDelayMs) {
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    const int stopFd = ::signalfd(-1, &stopSignals, SFD_CLOEXEC);

    Monitor monitor(dir, folder, ConfigFolder::locate(folder));
    monitor.setAnswerDelay(std::chrono::milliseconds(answerDelayMs));
    if (stopFd < 0 || !monitor.publish()) {
        std::fputs("vantrel-monitor: another monitor runs, or the runtime folder is unusable\n",
                   stderr);
        return 1;
    }
    monitor.run(stopFd);
    monitor.withdraw();
    ::close(stopFd);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<std::string> dir = RuntimeDirectory::locate();
    const std::string folder = ProgramFolder::locate();
    const std::string command = argc > 1 ? argv[1] : "";

    if (command == "--help" || command == "-h") {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (!dir) {
        std::fputs("vantrel-monitor: the runtime folder is unusable\n", stderr);
        return 1;
    }
    if (command.empty())
        return runMonitor(*dir, folder, 0);
    if (command == "--answer-delay" && argc == 3)
        return runMonitor(*dir, folder, number(argv[2]));

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
    } else {
        return usage();
    }
    if (!result)
        std::fprintf(stderr, "vantrel-monitor: %s\n", result.failureText().c_str());
    return result ? 0 : 1;
}
