#include "app/manual/ManualDocument.h"
#include "app/manual/WindowPictures.h"
#include "skin/AppContext.h"
#include "skin/SkinMenuStyle.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

using namespace vantrel;

// Writes "User Manual.pdf" at build time: the chapters of the manual folder
// (*.md, in the order of their names) with pictures of the program's windows
// drawn from the built program folder's skin.
int main(int argc, char** argv) {
    if (argc != 5) {
        std::fputs("usage: vantrel-manual-writer PROGRAM_FOLDER MANUAL_FOLDER OUTPUT.pdf VERSION\n",
                   stderr);
        return 2;
    }
    QApplication application(argc, argv);
    QApplication::setStyle(new SkinMenuStyle);
    // The windows show factory settings: the program folder's skin and texts,
    // seen from a scratch folder that holds no settings of the developer's.
    QTemporaryDir scratch;
    const QString program = QString::fromLocal8Bit(argv[1]);
    for (const QString& name : {QStringLiteral("skins"), QStringLiteral("lan.ini")})
        QFile::link(QDir(program).absoluteFilePath(name), scratch.filePath(name));
    AppContext context(scratch.path().toStdString() + "/", std::nullopt);
    const std::map<QString, QImage> pictures = WindowPictures::render(context);

    std::vector<QString> chapters;
    const QDir folder(QString::fromLocal8Bit(argv[2]));
    for (const QString& name :
         folder.entryList({QStringLiteral("*.md")}, QDir::Files, QDir::Name)) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "vantrel-manual-writer: cannot read %s\n", qPrintable(name));
            return 1;
        }
        chapters.push_back(QString::fromUtf8(file.readAll()));
    }
    const ManualDocument manual(QStringLiteral("Vantrel Gaming Keyboard: User Manual"),
                                QString::fromLocal8Bit(argv[4]));
    if (!manual.write(chapters, pictures, QString::fromLocal8Bit(argv[3]))) {
        std::fprintf(stderr, "vantrel-manual-writer: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
