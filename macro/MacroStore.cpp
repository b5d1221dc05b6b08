#include "macro/MacroStore.h"

#include "macro/MacroName.h"
#include "settings/FileLock.h"
#include "settings/IniFile.h"
#include "settings/TextField.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace vantrel {

namespace {

constexpr std::string_view kSection = "Macros";
constexpr std::string_view kCountKey = "number";

// The name of a key as it is matched, cut as a key holds names even when the
// field itself is not terminated.
std::string keyMacroName(const MacroKeyInfo& key) {
    return macroNameInKey(fieldText(key.macroName));
}

int keyEventCount(const MacroKeyInfo& key) {
    return std::min<int>(key.eventCount, kMacroEventSlots);
}

} // namespace

MacroStore::MacroStore(std::string configFolder) : m_folder(std::move(configFolder)) {}

std::string MacroStore::filePath() const {
    return m_folder + "config/sequence.dat";
}

void MacroStore::loadMacroStore() {
    const std::string path = filePath();
    const IniFile file(path);
    // A count above the number of lines the file could have (each takes at
    // least two bytes) is cut to it, so a damaged count never runs the loop
    // for billions of absent keys.
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    const int64_t most = ec ? 0 : static_cast<int64_t>(size / 2);
    const int64_t number = std::min<int64_t>(file.readInt(kSection, kCountKey, -1), most);
    for (int64_t i = 0; i < number; ++i) {
        auto record = std::make_unique<MacroRecord>();
        // A record that is missing or fails its checksum holds nothing to keep.
        if (!file.readBlob(kSection, std::to_string(i), record.get(), sizeof(MacroRecord)))
            continue;
        repairMacroRecord(*record);
        m_macros.push_back(std::move(record));
    }
}

bool MacroStore::saveMacroStore(IniFile::FolderSync folderSync) const {
    const std::string path = filePath();
    const FileLock lock(path);
    // The whole file is rewritten, so no key of a removed macro survives.
    IniFile file(path);
    file.clear();
    file.writeInt(kSection, kCountKey, count());
    for (int i = 0; i < count(); ++i)
        file.writeBlob(kSection, std::to_string(i), m_macros[i].get(), sizeof(MacroRecord));
    return file.save(folderSync);
}

void MacroStore::clearMacroStore() {
    m_macros.clear();
}

int MacroStore::count() const {
    return static_cast<int>(m_macros.size());
}

MacroRecord* MacroStore::macroAt(int index) {
    return index >= 0 && index < count() ? m_macros[index].get() : nullptr;
}

const MacroRecord* MacroStore::macroAt(int index) const {
    return index >= 0 && index < count() ? m_macros[index].get() : nullptr;
}

int MacroStore::appendMacro(const MacroRecord& record) {
    auto copy = std::make_unique<MacroRecord>(record);
    repairMacroRecord(*copy);
    m_macros.push_back(std::move(copy));
    return count() - 1;
}

bool MacroStore::removeMacro(int index) {
    if (!macroAt(index))
        return false;
    m_macros.erase(m_macros.begin() + index);
    return true;
}

MacroStore::Match MacroStore::findMacroForKey(const MacroKeyInfo& key) const {
    const std::string name = keyMacroName(key);
    Match match;
    for (int i = 0; i < count(); ++i) {
        const MacroRecord& macro = *m_macros[i];
        if (!sameMacroName(macroNameInKey(fieldText(macro.name)), name))
            continue;
        match.index = i;
        match.same = macro.eventCount == key.eventCount &&
                     std::memcmp(macro.events, key.events,
                                 sizeof(KeyEvent) * static_cast<size_t>(macro.eventCount)) == 0;
        break;
    }
    return match;
}

bool MacroStore::macroNameExists(std::string_view name) const {
    return std::any_of(m_macros.begin(), m_macros.end(), [&](const auto& macro) {
        return sameMacroName(fieldText(macro->name), name);
    });
}

void MacroStore::appendMacroFromKey(const MacroKeyInfo& key) {
    auto record = std::make_unique<MacroRecord>();
    std::memset(record.get(), 0, sizeof(MacroRecord));
    copyToField(record->name, keyMacroName(key));
    record->eventCount = keyEventCount(key);
    std::memcpy(record->events, key.events,
                sizeof(KeyEvent) * static_cast<size_t>(record->eventCount));
    m_macros.push_back(std::move(record));
}

void MacroStore::mergeProfileMacros(const SharedBlock& settings) {
    for (const ProfileRecord& profile : settings.profiles) {
        for (const MacroKeyInfo& key : profile.MacroKeyInfo) {
            // Blank and empty names too: they are found, or added, like any other.
            if (key.assignType != kAssignMacro)
                continue;
            const Match match = findMacroForKey(key);
            if (match.index < 0) {
                appendMacroFromKey(key);
            } else if (!match.same) {
                MacroRecord& macro = *m_macros[match.index];
                std::memcpy(macro.events, key.events, sizeof macro.events);
                macro.eventCount = keyEventCount(key);
            }
        }
    }
}

void MacroStore::refreshMacroKeys(SharedBlock& settings) const {
    for (int p = 0; p < kProfileCount; ++p) {
        for (int k = 0; k < kKeyPositions; ++k) {
            MacroKeyInfo& key = settings.profiles[p].MacroKeyInfo[k];
            // An empty name is left alone; a blank one must match a macro of
            // its own or lose the assignment.
            if (key.assignType != kAssignMacro || key.macroName[0] == '\0')
                continue;
            if (const MacroRecord* macro = macroAt(findMacroForKey(key).index)) {
                copyMacroToKey(*macro, key);
            } else {
                key.assignType = kAssignStandard;
                clearMacroFields(key);
                key.repeatCount = 0;
            }
            // Marked in both cases: the monitor only re-sends keys marked changed.
            settings.keyChanged[p][k] = 1;
        }
    }
}

void MacroStore::copyMacroToKey(const MacroRecord& macro, MacroKeyInfo& key) {
    key.eventCount = static_cast<uint16_t>(macro.eventCount);
    copyToField(key.macroName, fieldText(macro.name));
    std::memcpy(key.events, macro.events, sizeof key.events);
    key.repeatCount = macro.repeatCount;
}

} // namespace vantrel
