#pragma once

#include <QFont>

namespace vantrel {

// The program's fonts, in one place. Faces are asked for by name and left to
// fontconfig's substitution.
namespace SkinFonts {

// A face by name, a pixel height and, unless 0, an average character width
// that the glyphs are stretched to, as the skinned windows ask for theirs.
QFont cellFont(const QString& face, int height, int averageWidth = 0);

// Edit boxes: Arial, 14 high, 6 wide.
QFont cell();
// Button captions, in the cell font too.
QFont caption();
// The version text of the main window.
QFont version();
// Text labels, and the narrower face of compact ones.
QFont label(bool compact);
// The small "TM" mark of menu items.
QFont menuMark();
// The key function menu: the SimSun face, 14 high, or a sans face in its place.
QFont keyMenu();
// The macro menu of the macro selection: Arial, 14 high.
QFont macroMenu();
// The macro manager's lists: Eurostile, 12 high, light.
QFont macroList();

} // namespace SkinFonts

} // namespace vantrel
