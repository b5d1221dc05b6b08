#pragma once

#include "settings/IniFile.h"
#include "settings/ProfileRecord.h"

#include <string>

namespace vantrel {

// A profile file (.gkp): one section "Setting" holding one ProfileRecord.
// Reading keeps a field whose blob is absent or damaged; integer keys that are
// absent read as -1; text keys that are absent empty their field.
void readProfile(const std::string& path, ProfileRecord& profile);
void readProfile(const IniFile& file, ProfileRecord& profile);
// Writes every key in the fixed order and leaves other keys of the file alone,
// under the file's lock. Returns false when the file could not be written.
bool writeProfile(const std::string& path, const ProfileRecord& profile,
                  IniFile::FolderSync folderSync = IniFile::FolderSync::Now);
void writeProfile(IniFile& file, const ProfileRecord& profile);

// True when the path names a regular file that can be opened for reading.
bool fileExists(const std::string& path);

} // namespace vantrel
