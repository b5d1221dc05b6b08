#pragma once

#include <cstdint>

namespace vantrel {

// The program's colours, as colour words 0x00BBGGRR, in one place for the
// windows, the menu style and the skin painter alike.
namespace Palette {

// The dark ground of every window and its shades.
inline constexpr uint32_t kGround = 0x282828;
inline constexpr uint32_t kGroundDeep = 0x1E1E1E;
inline constexpr uint32_t kRecess = 0x222222;
inline constexpr uint32_t kLine = 0x3A3A3A;
inline constexpr uint32_t kText = 0xE6E6E6;
inline constexpr uint32_t kTextDim = 0x9A9A9A;
inline constexpr uint32_t kTextDisabled = 0x646464;
// A deep red (red in the low byte), and the highlight, a light blue.
inline constexpr uint32_t kSelection = 0x17184B;
inline constexpr uint32_t kHighlight = 0xFFBF44;

// Pop-up menus.
inline constexpr uint32_t kMenuGround = kGround;
inline constexpr uint32_t kMenuSelectedGround = kSelection;
inline constexpr uint32_t kMenuText = kText;
inline constexpr uint32_t kMenuLine = kText;
inline constexpr uint32_t kMenuDisabledText = 0x787878;

// Boxes and lists, by the window that shows them.
inline constexpr uint32_t kEditText = 0x242424;
inline constexpr uint32_t kEditGround = 0xFFFFFF;
inline constexpr uint32_t kProfileBoxGround = 0x000000;
inline constexpr uint32_t kProfileBoxText = kText;
inline constexpr uint32_t kShortcutBoxGround = 0xFFFFFF;
inline constexpr uint32_t kShortcutBoxText = 0x000000;
inline constexpr uint32_t kLaunchPathGround = 0xE5E5E5;
inline constexpr uint32_t kLaunchPathText = 0x000000;
inline constexpr uint32_t kRepeatCountGround = 0x191919;
inline constexpr uint32_t kMacroListGround = 0x191919;
inline constexpr uint32_t kMacroListSelection = kSelection;
inline constexpr uint32_t kMacroListText = kText;
inline constexpr uint32_t kRepeatCountText = 0xE6E6E6;
inline constexpr uint32_t kLabelGround = 0x020202;
inline constexpr uint32_t kLabelText = 0xFFFFFF;
inline constexpr uint32_t kColourBoxGround = 0x000000;
inline constexpr uint32_t kColourBoxText = 0xFFFFFF;

} // namespace Palette

} // namespace vantrel
