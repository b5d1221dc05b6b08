#include "app/manual/WindowPictures.h"

#include "app/MainWindow.h"
#include "keys/KeyAssignmentPage.h"
#include "keys/KeyFunctionMenu.h"
#include "keys/ShortcutDialog.h"
#include "lighting/LightingPage.h"
#include "lighting/SelectColourDialog.h"
#include "link/MonitorLink.h"
#include "macro/MacroManagerDialog.h"
#include "settings/SharedBlock.h"
#include "skin/AppContext.h"
#include "skin/SkinButton.h"
#include "skin/SkinMenu.h"

#include <QApplication>
#include <QMenu>
#include <QPainter>

#include <algorithm>

namespace vantrel {

namespace {

QImage picture(QWidget& widget) {
    widget.show();
    QApplication::processEvents();
    return widget.grab().toImage();
}

} // namespace

std::map<QString, QImage> WindowPictures::render(AppContext& context) {
    std::map<QString, QImage> pictures;
    MonitorLink noMonitor(std::nullopt);
    MainWindow window(context, noMonitor);
    pictures[QStringLiteral("main-keys")] = picture(window);

    // Wave in the rainbow, a moment into its sweep, then the first DIY effect.
    ProfileRecord& profile = context.currentProfile();
    profile.LtColor[2] = 7;
    window.setEffect(2);
    window.findChild<SkinButton*>(QStringLiteral("viewSwitch"))->click();
    window.keyPage().showPreviewFrame();
    pictures[QStringLiteral("main-lighting")] = picture(window);
    pictures[QStringLiteral("effect-page")] = picture(*window.visibleLightingPage());
    for (int k = 0; k < kKeyPositions; k += 3)
        profile.CustomColor[0][k] = k % 2 ? 0x00FFFF : 0xFF8000;
    window.setEffect(kFirstDiyEffect);
    pictures[QStringLiteral("diy-page")] = picture(*window.visibleLightingPage());

    // The menu with its built-in functions open beside it.
    KeyFunctionMenu keyMenu(context.strings());
    QMenu& menu = keyMenu.menu().menu();
    menu.adjustSize();
    QMenu* functions = nullptr;
    int functionsTop = 0;
    for (QAction* action : menu.actions()) {
        if (action->menu() && action->menu()->actions().size() > 6) {
            functions = action->menu();
            functionsTop = menu.actionGeometry(action).top();
            break;
        }
    }
    const QImage top = menu.grab().toImage();
    QImage both = top;
    if (functions) {
        functions->adjustSize();
        const QImage side = functions->grab().toImage();
        both = QImage(top.width() + side.width(),
                      std::max(top.height(), functionsTop + side.height()), QImage::Format_RGB32);
        both.fill(Qt::white);
        QPainter painter(&both);
        painter.drawImage(0, 0, top);
        painter.drawImage(top.width(), functionsTop, side);
    }
    pictures[QStringLiteral("key-menu")] = both;

    MacroKeyInfo entry = profile.MacroKeyInfo[0];
    ShortcutDialog shortcut(context, entry, nullptr);
    pictures[QStringLiteral("shortcut-dialog")] = picture(shortcut);
    const SteadyClock clock;
    MacroManagerDialog manager(context, clock, nullptr);
    pictures[QStringLiteral("macro-manager")] = picture(manager);
    SelectColourDialog colours(context, 0x0080FF, nullptr);
    pictures[QStringLiteral("colour-dialog")] = picture(colours);
    return pictures;
}

} // namespace vantrel
