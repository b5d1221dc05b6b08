#pragma once

#include <QImage>
#include <QString>

#include <map>

namespace vantrel {

class AppContext;

// The program's windows as a user sees them, drawn offscreen from the skin of
// the program folder, for the manual: the main window in both views, the key
// function menu, the shortcut dialog, the macro manager, an effect page, a
// DIY page and the colour dialog, by picture name.
class WindowPictures final {
public:
    static std::map<QString, QImage> render(AppContext& context);
};

} // namespace vantrel
