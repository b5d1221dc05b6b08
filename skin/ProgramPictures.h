#pragma once

namespace vantrel {

// The program's own pictures, compiled in as Qt resources. Numbers are those
// the windows know them by.
namespace ProgramPictures {

inline constexpr const char* kEnterKeyMask = ":/pictures/enter_key_mask.bmp";       // 308, 63 x 26
inline constexpr const char* kSpectrum = ":/pictures/spectrum.bmp";                 // 332, 252 x 76
inline constexpr const char* kMarker = ":/pictures/marker.bmp";                     // 329, 13 x 13
inline constexpr const char* kSwatchFace = ":/pictures/swatch_face.bmp";            // 330, 49 x 49
inline constexpr const char* kSwatchMask = ":/pictures/swatch_mask.bmp";            // 331, 49 x 49
inline constexpr const char* kPauseIcon = ":/pictures/icon_pause.bmp";              // 135, 15 x 15
inline constexpr const char* kKeyReleaseIcon = ":/pictures/icon_key_release.bmp";   // 137, 11 x 14
inline constexpr const char* kKeyPressIcon = ":/pictures/icon_key_press.bmp";       // 138, 11 x 14
inline constexpr const char* kMouseButtonIcon = ":/pictures/icon_mouse_button.bmp"; // 146, 16 x 18
inline constexpr const char* kMenuArrow = ":/pictures/menu_arrow.png";              // 145
inline constexpr const char* kProgramIcon = ":/pictures/program_icon.png";          // 128

} // namespace ProgramPictures

} // namespace vantrel
