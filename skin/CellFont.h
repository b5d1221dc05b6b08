#pragma once

#include <QFont>

namespace vantrel {

// A font asked for as the skinned windows ask for theirs: a face by name
// (fontconfig substitutes a missing one), a pixel height and, unless 0, an
// average character width that the glyphs are stretched to.
QFont cellFont(const QString& face, int height, int averageWidth = 0);

} // namespace vantrel
