#include "monitor/service/MonitorCommands.h"

#include "link/LinkMessage.h"
#include "link/LinkNames.h"
#include "link/MessageSocket.h"
#include "link/RobustMutex.h"
#include "link/SharedBlockMapping.h"
#include "settings/FileLock.h"
#include "settings/IniFile.h"
#include "settings/TextField.h"

#include <functional>
#include <memory>

namespace vantrel {

namespace {

using Result = MonitorCommands::Result;
using Kind = MonitorCommands::Result::Kind;

// Runs the change on the block while holding its mutex. A wait that found the
// last owner dead made the mutex usable again, so it is tried once more.
Result changeBlock(const std::string& dir, const std::function<void(SharedBlock&)>& change) {
    RobustMutex mutex;
    SharedBlockMapping mapping;
    if (!mutex.open(dir + kMutexFileName) ||
        mapping.open(dir + kBlockFileName) != SharedBlockMapping::OpenResult::Mapped)
        return {Kind::NoMonitor};
    if (mutex.lockOnceMoreIfOwnerDied() != RobustMutex::LockResult::Locked)
        return {Kind::LockNotTaken};
    change(*mapping.block());
    mutex.unlock();
    return {Kind::Done};
}

// The program may not be running; the change stands anyway.
void postToProgram(const std::string& dir, uint32_t message) {
    MessageSocket::post(dir + kProgramSocketName, {message, 0, 0});
}

std::string keyRanges(const int32_t (&keys)[kKeyPositions]) {
    std::string text;
    for (int k = 0; k < kKeyPositions; ++k) {
        if (!keys[k])
            continue;
        int last = k;
        while (last + 1 < kKeyPositions && keys[last + 1])
            ++last;
        if (!text.empty())
            text += ",";
        text += std::to_string(k);
        if (last > k)
            text += "-" + std::to_string(last);
        k = last;
    }
    return text.empty() ? "none" : text;
}

} // namespace

Result MonitorCommands::firmware(const std::string& runtimeDir, const std::string& configFolder,
                                 int32_t version) {
    const std::string path = configFolder + "config.ini";
    {
        const FileLock lock(path);
        IniFile config(path);
        config.writeInt("Setting", "FWVersion", version);
        if (!config.save())
            return {Kind::NotWritten};
    }
    postToProgram(runtimeDir, kMsgFirmwareChanged);
    return {Kind::Done};
}

Result MonitorCommands::renameProfile(const std::string& runtimeDir, int profile,
                                      const std::string& name) {
    if (profile < 0 || profile >= kProfileCount)
        return {Kind::NoSuchProfile};
    const Result result = changeBlock(
        runtimeDir, [&](SharedBlock& b) { copyToField(b.profiles[profile].ProFileName, name); });
    if (result)
        postToProgram(runtimeDir, kMsgBlockChanged);
    return result;
}

Result MonitorCommands::switchProfile(const std::string& runtimeDir, int profile, int32_t effect) {
    if (profile < 0 || profile >= kProfileCount)
        return {Kind::NoSuchProfile};
    const Result result = changeBlock(runtimeDir, [&](SharedBlock& b) {
        b.CurrentProfile = profile;
        b.profiles[profile].LtSwitch = effect;
    });
    if (result)
        postToProgram(runtimeDir, kMsgDeviceChanged);
    return result;
}

Result MonitorCommands::readBlock(const std::string& runtimeDir, SharedBlock& copy) {
    return changeBlock(runtimeDir, [&](SharedBlock& b) { copy = b; });
}

Result MonitorCommands::flags(const std::string& runtimeDir, std::string& text) {
    auto copy = std::make_unique<SharedBlock>();
    const Result result = readBlock(runtimeDir, *copy);
    if (result)
        text = describeFlags(*copy);
    return result;
}

std::string MonitorCommands::Result::failureText() const {
    switch (kind) {
    case Kind::Done:
        break;
    case Kind::NoMonitor:
        return "no monitor runs: its shared block or mutex is not there";
    case Kind::LockNotTaken:
        return "the monitor's mutex could not be taken within " +
               std::to_string(RobustMutex::kWaitSeconds) + " seconds";
    case Kind::NotWritten:
        return "config.ini could not be read whole or written; it was left as it was";
    case Kind::NoSuchProfile:
        return "PROFILE must be 0..4";
    }
    return {};
}

std::string MonitorCommands::describeFlags(const SharedBlock& b) {
    std::string text = "CurrentProfile " + std::to_string(b.CurrentProfile) + "\n";
    for (int p = 0; p < kProfileCount; ++p) {
        text += "profile " + std::to_string(p) + ": keys " + keyRanges(b.keyChanged[p]) +
                " flagsA " + std::to_string(b.flagsA[p]) + " flagsC " +
                std::to_string(b.flagsC[p]) + " flagsD " + std::to_string(b.flagsD[p]) +
                " flagsE " + std::to_string(b.flagsE[p]) + " flagsF " +
                std::to_string(b.flagsF[p]) + " flagsG " + std::to_string(b.flagsG[p]) + "\n";
    }
    text += "flagB " + std::to_string(b.flagB) + "\n";
    return text;
}

} // namespace vantrel
