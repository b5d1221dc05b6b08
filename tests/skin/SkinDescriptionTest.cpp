#include "skin/SkinDescription.h"
#include "tests/TempDir.h"

#include <gtest/gtest.h>

using namespace vantrel;
using vantrel::test::TempDir;
using vantrel::test::writeFile;

TEST(SkinDescription, LooksUpWithoutRegardToCase) {
    TempDir dir;
    writeFile(dir.file("skin_x.ini"), "[screen]\r\nnormal = pics\\normal.png\r\n"
                                      "[ButtonPos]\r\n1=BUTTON_OK,67,162,70,30,Confirm\r\n");
    const SkinDescription skin(dir.folder(), "skin_x.ini");
    EXPECT_EQ(skin.readText("SCREEN", "Normal"), "pics\\normal.png");
    // Backslashes in names from the file are folder separators here.
    EXPECT_EQ(skin.picturePath("NORMAL"), dir.folder() + "pics/normal.png");
    const ControlPlacement ok = skin.buttonPlacement(1);
    EXPECT_EQ(ok.right, 137);
    EXPECT_EQ(ok.text, "Confirm");
}

TEST(SkinDescription, MissingFileSectionOrKeyReadsEmpty) {
    TempDir dir;
    writeFile(dir.file("skin_y.ini"), "[SCREEN]\nMask=\n[BUTTONPOS]\n1=A,1,2,3,4,\n");
    const SkinDescription skin(dir.folder(), "skin_y.ini");
    // An empty picture name is no path at all, never the skins folder itself.
    EXPECT_EQ(skin.picturePath("Mask"), "");
    EXPECT_EQ(skin.picturePath("Over"), "");
    const ControlPlacement missing = skin.buttonPlacement(2);
    EXPECT_EQ(missing.left, 0);
    EXPECT_EQ(missing.right, 0);
    EXPECT_EQ(missing.bottom, 0);
    EXPECT_EQ(skin.readInt("BUTTONPOS", "9", 7), 7);

    const SkinDescription absent(dir.folder(), "no_such_skin.ini");
    EXPECT_EQ(absent.readText("SCREEN", "Normal"), "");
    EXPECT_EQ(absent.buttonPlacement(1).right, 0);
}

TEST(SkinDescription, ValuesAreCutAt2047Characters) {
    TempDir dir;
    writeFile(dir.file("skin_z.ini"), "[BUTTONPOS]\n1=A,1,2,3,4," + std::string(3000, 'h') + "\n");
    const SkinDescription skin(dir.folder(), "skin_z.ini");
    EXPECT_EQ(skin.readText("BUTTONPOS", "1").size(), 2047u);
    // The text field then takes at most 399 of what is left.
    EXPECT_EQ(skin.buttonPlacement(1).text, std::string(399, 'h'));
}
