#include "skin/SkinDescription.h"
#include "skins/painter/FixedPictures.h"
#include "skins/painter/ProgramPictures.h"
#include "skins/painter/WindowPainter.h"

#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

using namespace vantrel;
using namespace vantrel::painter;

// Paints the default skin: vantrel-skin-painter SOURCE_FOLDER/ TARGET_FOLDER/ FILE.ini...
// Each description file is copied to the target with the pictures it names.
// With --program-pictures TARGET_FOLDER/ it paints the program's own pictures,
// with --icon SIZE FILE.png the program's icon at that size.
int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc == 3 && std::string_view(argv[1]) == "--program-pictures") {
        bool ok = true;
        for (const auto& [name, picture] : ProgramPictures::all())
            ok = savePicture(picture, argv[2] + name) && ok;
        if (!ok)
            std::fprintf(stderr, "could not paint the program's pictures\n");
        return ok ? 0 : 1;
    }
    if (argc == 4 && std::string_view(argv[1]) == "--icon") {
        const int size = std::atoi(argv[2]);
        if (size > 0 && savePicture(ProgramPictures::programIcon(size), argv[3]))
            return 0;
        std::fprintf(stderr, "could not paint the icon\n");
        return 1;
    }
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s SOURCE/ TARGET/ FILE.ini...\n", argv[0]);
        return 2;
    }
    const std::string source = argv[1];
    const std::string target = argv[2];
    bool ok = true;
    std::set<std::string> painted;
    for (int i = 3; i < argc; ++i) {
        const std::string name = argv[i];
        const QString copy = QString::fromStdString(target + name);
        QFile::remove(copy);
        if (!QFile::copy(QString::fromStdString(source + name), copy) ||
            !WindowPainter(source + name).save(target, painted)) {
            std::fprintf(stderr, "could not paint %s\n", name.c_str());
            ok = false;
        }
    }
    const ControlPlacement record =
        SkinDescription(source, "skin_macro_manager.ini").buttonPlacement(7);
    if (!FixedPictures::saveAll(target, QSize(record.width(), record.height()))) {
        std::fprintf(stderr, "could not paint the fixed pictures\n");
        ok = false;
    }
    return ok ? 0 : 1;
}
