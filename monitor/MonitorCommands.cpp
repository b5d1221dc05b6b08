#include "monitor/MonitorCommands.h"

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

// Runs the change on the block while holding its mutex.
bool changeBlock(const std::string& dir, const std::function<void(SharedBlock&)>& change) {
    RobustMutex mutex;
    SharedBlockMapping mapping;
    if (!mutex.open(dir + kMutexFileName) ||
        mapping.open(dir + kBlockFileName) != SharedBlockMapping::OpenResult::Mapped ||
        !mutex.lock())
        return false;
    change(*mapping.block());
    mutex.unlock();
    return true;
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

bool MonitorCommands::firmware(const std::string& runtimeDir, const std::string& configFolder,
                               int32_t version) {
    const std::string path = configFolder + "config.ini";
    {
        const FileLock lock(path);
        IniFile config(path);
        config.writeInt("Setting", "FWVersion", version);
        if (!config.save())
            return false;
    }
    postToProgram(runtimeDir, kMsgFirmwareChanged);
    return true;
}

bool MonitorCommands::renameProfile(const std::string& runtimeDir, int profile,
                                    const std::string& name) {
    if (profile < 0 || profile >= kProfileCount)
        return false;
    const bool changed = changeBlock(
        runtimeDir, [&](SharedBlock& b) { copyToField(b.profiles[profile].ProFileName, name); });
    if (changed)
        postToProgram(runtimeDir, kMsgBlockChanged);
    return changed;
}

bool MonitorCommands::switchProfile(const std::string& runtimeDir, int profile, int32_t effect) {
    if (profile < 0 || profile >= kProfileCount)
        return false;
    const bool changed = changeBlock(runtimeDir, [&](SharedBlock& b) {
        b.CurrentProfile = profile;
        b.profiles[profile].LtSwitch = effect;
    });
    if (changed)
        postToProgram(runtimeDir, kMsgDeviceChanged);
    return changed;
}

bool MonitorCommands::flags(const std::string& runtimeDir, std::string& text) {
    auto copy = std::make_unique<SharedBlock>();
    if (!changeBlock(runtimeDir, [&](SharedBlock& b) { *copy = b; }))
        return false;
    text = describeFlags(*copy);
    return true;
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
