#include "app/AppContext.h"
#include "app/MainWindow.h"
#include "app/ProgramFolder.h"
#include "app/SingleInstance.h"
#include "link/MonitorLink.h"
#include "link/RuntimeDirectory.h"

#include <QApplication>

using namespace vantrel;

int main(int argc, char** argv) {
    const std::optional<std::string> runtimeDir = RuntimeDirectory::locate();
    const SingleInstance instance(runtimeDir);
    if (!instance.acquired())
        return 0; // another copy runs: leave it alone, say nothing

    QApplication application(argc, argv);
    AppContext context(ProgramFolder::locate(), runtimeDir);
    MonitorLink link(runtimeDir);
    MainWindow window(context, link);
    window.show();
    return application.exec();
}
