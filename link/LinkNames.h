#pragma once

namespace vantrel {

// File names of the named objects in the runtime folder.
inline constexpr const char* kBlockFileName = "Vantrel_RGB_Gaming_Keyboard_Share_Data";
inline constexpr const char* kMutexFileName = "Vantrel_RGB_Gaming_Keyboard_Mutex_Object";
inline constexpr const char* kMonitorSocketName = "Vantrel_Gaming_Keyboard_Monitor";
inline constexpr const char* kProgramSocketName = "Vantrel Gaming Keyboard";

} // namespace vantrel
