#pragma once

#include <functional>
#include <string>

namespace vantrel {

class IniFile;

// Replaces the file at path with a document that fill writes from nothing, so
// no line of the old file survives. The old file stays whole until the new one
// is complete and renamed over it. False when it could not be written.
bool saveFreshIniFile(const std::string& path, const std::function<void(IniFile&)>& fill);

} // namespace vantrel
