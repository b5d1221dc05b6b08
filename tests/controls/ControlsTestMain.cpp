#include "skin/SkinMenuStyle.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

// Window tests run on the offscreen platform unless told otherwise, with the
// program's menu style, as the program itself runs.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    QApplication::setStyle(new vantrel::SkinMenuStyle);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
