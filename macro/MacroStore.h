#pragma once

#include "macro/MacroRecord.h"
#include "settings/IniFile.h"
#include "settings/MacroKeyInfo.h"
#include "settings/SharedBlock.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// The program's one ordered list of named macros, kept in
// "config/sequence.dat" under the config folder (ConfigFolder).
class MacroStore final {
public:
    struct Match {
        int index = -1;    // store index of the macro of that name, or -1
        bool same = false; // its events equal the key's copy
    };

    explicit MacroStore(std::string configFolder);

    std::string filePath() const;

    // Appends the file's macros to the store (callers clear it before a reload).
    void loadMacroStore();
    // Rewrites the whole file atomically and durably; the folder is flushed
    // now or by the caller. False when it could not be written.
    bool saveMacroStore(IniFile::FolderSync folderSync = IniFile::FolderSync::Now) const;
    void clearMacroStore();

    int count() const;
    // Null for an index outside the list.
    MacroRecord* macroAt(int index);
    const MacroRecord* macroAt(int index) const;

    // Adds a copy at the end, made safe first; returns its index.
    int appendMacro(const MacroRecord& record);
    // False for an index outside the list.
    bool removeMacro(int index);

    // The first macro whose name, as a key holds it, is the key's macroName.
    Match findMacroForKey(const MacroKeyInfo& key) const;
    bool macroNameExists(std::string_view name) const;
    void appendMacroFromKey(const MacroKeyInfo& key);
    // Takes the macros of every macro key (all 128 of each profile, blank
    // names included) into the store: unknown names are added, known names
    // take the key's events.
    void mergeProfileMacros(const SharedBlock& settings);
    // Brings every macro key with a non-empty name up to date with the store;
    // a key whose macro is gone gets its standard function. Every key it
    // rewrites is marked in keyChanged.
    void refreshMacroKeys(SharedBlock& settings) const;

    // Writes a macro's name (cut to 19 bytes), counts and events into a key;
    // assignType and keyChanged are the caller's.
    static void copyMacroToKey(const MacroRecord& macro, MacroKeyInfo& key);

private:
    std::string m_folder;
    std::vector<std::unique_ptr<MacroRecord>> m_macros;
};

} // namespace vantrel
