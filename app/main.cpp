#include "app/MainWindow.h"
#include "link/MonitorLink.h"
#include "link/MonitorStarter.h"
#include "link/RuntimeDirectory.h"
#include "link/SingleInstance.h"
#include "settings/ProgramFolder.h"
#include "skin/AppContext.h"
#include "skin/SkinMenuStyle.h"

#include <QApplication>
#include <QScreen>

using namespace vantrel;

int main(int argc, char** argv) {
    const std::optional<std::string> runtimeDir = RuntimeDirectory::locate();
    const SingleInstance instance(runtimeDir);
    if (!instance.acquired())
        return 0; // another copy runs: leave it alone, say nothing

    const std::string programFolder = ProgramFolder::locate();
    // Started before Qt has threads; Apply needs a monitor to answer.
    if (runtimeDir)
        MonitorStarter::ensureRunning(programFolder, *runtimeDir);

    QApplication application(argc, argv);
    // Every popup menu of the program gets the skinned look.
    QApplication::setStyle(new SkinMenuStyle);
    AppContext context(programFolder, runtimeDir);
    MonitorLink link(runtimeDir);
    MainWindow window(context, link);
    // Frameless, so the window manager may not place it: start in the middle.
    if (const QScreen* screen = window.screen())
        window.move(screen->availableGeometry().center() - window.rect().center());
    window.show();
    return application.exec();
}
