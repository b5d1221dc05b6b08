#include "macro/MacroFile.h"

#include "macro/MacroStore.h"
#include "settings/IniFile.h"
#include "settings/TextField.h"

namespace vantrel {

namespace {

constexpr std::string_view kSection = "Macros";
constexpr std::string_view kKey = "0";

} // namespace

std::optional<MacroRecord> MacroFile::readMacroFile(const std::string& path) {
    MacroRecord record{};
    if (!IniFile(path).readBlob(kSection, kKey, &record, sizeof record) ||
        !isSoundMacroRecord(record))
        return std::nullopt;
    return record;
}

int MacroFile::importMacroFile(const std::string& path, MacroStore& store) {
    std::optional<MacroRecord> record = readMacroFile(path);
    if (!record)
        return -1;
    copyToField(record->name, importedName(fieldText(record->name), store));
    return store.appendMacro(*record);
}

bool MacroFile::exportMacroFile(const std::string& path, const MacroRecord& record) {
    IniFile file(path);
    file.clear(); // the file holds the one macro and nothing else
    file.writeBlob(kSection, kKey, &record, sizeof record);
    return file.save();
}

std::string MacroFile::importedName(std::string_view name, const MacroStore& store) {
    if (!store.macroNameExists(name))
        return std::string(name);
    for (int n = 1;; ++n) {
        const std::string number = std::to_string(n);
        // The base is cut so that base and number fit the name field together.
        char base[sizeof(MacroRecord::name)] = {};
        copyToField(base, sizeof base - number.size(), name);
        std::string candidate = fieldText(base) + number;
        if (!store.macroNameExists(candidate))
            return candidate;
    }
}

} // namespace vantrel
