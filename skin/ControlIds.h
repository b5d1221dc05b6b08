#pragma once

namespace vantrel {

// The identifiers that carry meaning between controls and their windows: they
// travel with the notices (a slider's value, a box's byte, a list's row) or
// are the command numbers of the menus.
namespace ControlIds {

inline constexpr int kBrightnessSlider = 201;
inline constexpr int kPulsationSlider = 202;

inline constexpr int kRedBox = 400;
inline constexpr int kGreenBox = 401;
inline constexpr int kBlueBox = 402;

inline constexpr int kMacroList = 4096;
inline constexpr int kEventList = 4097;

inline constexpr int kEditBox = 4010;

// The effect menu's commands lie in 1000..1100.
inline constexpr int kFirstEffectCommand = 1000;
inline constexpr int kLastEffectCommand = 1100;
// The key function menu's commands lie in 1001..4000; from 1100 on a command
// stands for the store macro of number command - 1100, as in the macro menu.
inline constexpr int kFirstKeyCommand = 1001;
inline constexpr int kLastKeyCommand = 4000;
inline constexpr int kFirstStoreMacroCommand = 1100;

} // namespace ControlIds

} // namespace vantrel
