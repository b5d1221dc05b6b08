#include "settings/ProfileDefaults.h"
#include "skin/ConfirmationDialog.h"
#include "skin/SkinButton.h"
#include "skin/SkinDescription.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace vantrel;

// The default skin as the build paints it into the program folder.
namespace {

const std::string kSkins = VANTREL_SKINS_DIR;

struct WindowSkin {
    const char* file;
    std::vector<int> buttons; // show their four looks
    std::vector<int> others;  // edits, lists, sliders and the like
};

std::vector<int> range(int first, int last) {
    std::vector<int> keys;
    for (int k = first; k <= last; ++k)
        keys.push_back(k);
    return keys;
}

std::vector<int> join(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<WindowSkin>& windows() {
    const std::vector<int> effectButtons = join(range(3, 10), range(13, 15));
    static const std::vector<WindowSkin> all{
        {"skin_Config.ini",
         join(join(range(1, 3), range(6, 14)), join(range(16, 22), {25, 26})),
         {}},
        {"skin_main.ini", {}, {}},
        {"skin_profile.ini", range(3, 6), {1, 2}},
        {"skin_lanuch_program.ini", range(2, 5), {1}},
        {"skin_shortcut.ini", range(2, 9), {10}},
        {"skin_macro_manager.ini", {1, 2, 3, 4, 5, 8, 9, 12, 13}, {6, 7, 10, 11}},
        {"skin_select_macro.ini", range(1, 7), {}},
        {"skin_delete_macro_warn.ini", range(1, 3), {}},
        {"Skin_select_color.ini", join(range(1, 10), range(13, 15)), {11, 12}},
        {"Skin_Effect1.ini", effectButtons, {1, 2, 11, 12}},
        {"Skin_Effect2.ini", join(effectButtons, range(18, 21)), {1, 2, 11, 12, 16, 17}},
        {"Skin_Effect4.ini", join(effectButtons, range(18, 21)), {1, 2, 11, 12, 16, 17}},
        {"Skin_Effect5.ini", join(effectButtons, range(18, 21)), {1, 2, 11, 12, 16, 17}},
        {"Skin_Effect8.ini", join(effectButtons, range(18, 21)), {1, 2, 11, 12, 16, 17}},
        {"Skin_EffectD.ini", join(effectButtons, range(18, 21)), {1, 2, 11, 12, 16, 17}},
        {"Skin_EffectDIY.ini", {3, 4}, {1, 2}},
        {"skin_reset_current_warn.ini", range(1, 3), {}},
        {"skin_reset_all_warn.ini", range(1, 3), {}},
        {"skin_macro_set_warn.ini", range(1, 3), {}},
    };
    return all;
}

QRect rectOf(const ControlPlacement& p) {
    return QRect(p.left, p.top, p.width(), p.height());
}

struct LoadedSkin {
    SkinDescription description;
    SkinImage mask;
    SkinPictures pictures;

    explicit LoadedSkin(const std::string& file)
        : description(kSkins, file), mask(loadPicture(description.picturePath("Mask"))),
          pictures{loadPicture(description.picturePath("Normal")),
                   loadPicture(description.picturePath("Over")),
                   loadPicture(description.picturePath("Down")),
                   loadPicture(description.picturePath("Disable"))} {}
    QSize size() const { return pictures.normal.size(); }
};

// Every look of a control differs from every other somewhere.
void expectFourLooks(const LoadedSkin& skin, const QRect& r, const std::string& what) {
    const QImage looks[] = {skin.pictures.normal.image().copy(r),
                            skin.pictures.over.image().copy(r), skin.pictures.down.image().copy(r),
                            skin.pictures.disabled.image().copy(r)};
    for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b)
            EXPECT_NE(looks[a], looks[b]) << what << ": looks " << a << " and " << b;
}

void expectNoOverlaps(const std::map<int, QRect>& rects, const std::string& file) {
    for (auto a = rects.begin(); a != rects.end(); ++a)
        for (auto b = std::next(a); b != rects.end(); ++b)
            EXPECT_FALSE(a->second.intersects(b->second))
                << file << ": keys " << a->first << " and " << b->first << " overlap";
}

} // namespace

TEST(DefaultSkin, EveryWindowHasItsPicturesOutlineAndPlacements) {
    for (const WindowSkin& window : windows()) {
        SCOPED_TRACE(window.file);
        const LoadedSkin skin(window.file);
        ASSERT_FALSE(skin.pictures.normal.isEmpty());
        for (const SkinImage* picture :
             {&skin.mask, &skin.pictures.over, &skin.pictures.down, &skin.pictures.disabled})
            EXPECT_EQ(picture->size(), skin.size());

        // A rounded outline: the corners are cut away, the rest is inside.
        const std::optional<QRegion> outline = regionFromMask(skin.mask);
        ASSERT_TRUE(outline.has_value());
        EXPECT_EQ(outline->boundingRect(), QRect(QPoint(0, 0), skin.size()));
        EXPECT_FALSE(outline->contains(QPoint(0, 0)));
        EXPECT_TRUE(outline->contains(QPoint(skin.size().width() / 2, 0)));

        std::map<int, QRect> rects;
        for (const int key : join(window.buttons, window.others)) {
            const QRect r = rectOf(skin.description.buttonPlacement(key));
            EXPECT_FALSE(r.isEmpty()) << "key " << key;
            EXPECT_TRUE(QRect(QPoint(0, 0), skin.size()).contains(r)) << "key " << key;
            EXPECT_TRUE(outline->contains(r.topLeft()) && outline->contains(r.bottomRight()))
                << "key " << key;
            rects[key] = r;
        }
        expectNoOverlaps(rects, window.file);
        for (const int key : window.buttons)
            expectFourLooks(skin, rects[key],
                            std::string(window.file) + " key " + std::to_string(key));
    }
}

TEST(DefaultSkin, MainWindowFitsTheScreenAndItsPagesFitTheirAreas) {
    const LoadedSkin main("skin_Config.ini");
    EXPECT_LE(main.size().width(), 1366);
    EXPECT_LE(main.size().height(), 768 - 48); // room for a panel
    const QRect keyboardArea = rectOf(main.description.placement("PAGEPOSITION", "1"));
    const QRect lightingArea = rectOf(main.description.placement("PAGEPOSITION", "2"));
    EXPECT_EQ(keyboardArea.size(), LoadedSkin("skin_main.ini").size());
    for (const char* page :
         {"Skin_Effect1.ini", "Skin_Effect2.ini", "Skin_Effect4.ini", "Skin_Effect5.ini",
          "Skin_Effect8.ini", "Skin_EffectD.ini", "Skin_EffectDIY.ini"})
        EXPECT_EQ(lightingArea.size(), LoadedSkin(page).size()) << page;

    std::map<int, QRect> rects{{-1, keyboardArea}, {-2, lightingArea}};
    for (const WindowSkin& window : windows()) {
        if (std::string(window.file) != "skin_Config.ini")
            continue;
        for (const int key : window.buttons)
            rects[key] = rectOf(main.description.buttonPlacement(key));
    }
    expectNoOverlaps(rects, "skin_Config.ini");
}

TEST(DefaultSkin, KeyboardShowsAKeycapForEveryPositionWithAKey) {
    const LoadedSkin keyboard("skin_main.ini");
    std::map<int, QRect> keys;
    for (int position = 0; position < kKeyPositions; ++position) {
        const QRect r = rectOf(keyboard.description.buttonPlacement(40 + position));
        const uint8_t code = kDefaultStandardKeys[static_cast<size_t>(position)];
        if (code == 0 || code == 255) {
            EXPECT_TRUE(r.isEmpty()) << "position " << position;
            continue;
        }
        ASSERT_FALSE(r.isEmpty()) << "position " << position;
        EXPECT_TRUE(QRect(QPoint(0, 0), keyboard.size()).contains(r)) << "position " << position;
        expectFourLooks(keyboard, r, "position " + std::to_string(position));
        keys[position] = r;
    }
    EXPECT_EQ(keys.size(), 103u);
    expectNoOverlaps(keys, "skin_main.ini");
}

TEST(DefaultSkin, FixedPicturesFitTheirControls) {
    const std::optional<QImage> thumb = loadBitmapFile(kSkins + "slider.bmp");
    ASSERT_TRUE(thumb.has_value());
    const QRect track = rectOf(SkinDescription(kSkins, "Skin_Effect2.ini").buttonPlacement(1));
    EXPECT_LE(thumb->height(), track.height());
    const QRegion thumbOutline = regionFromCornerColour(*thumb, thumb->size());
    EXPECT_FALSE(thumbOutline.contains(QPoint(0, 0)));
    EXPECT_TRUE(thumbOutline.contains(QPoint(thumb->width() / 2, thumb->height() / 2)));

    const ControlPlacement record =
        SkinDescription(kSkins, "skin_macro_manager.ini").buttonPlacement(7);
    std::vector<QImage> looks;
    for (const char* name :
         {"start_record_normal.jpg", "start_record_over.jpg", "start_record_down.jpg",
          "stop_record_normal.jpg", "stop_record_over.jpg", "stop_record_down.jpg"}) {
        const SkinImage picture = loadPicture(kSkins + name);
        EXPECT_EQ(picture.size(), QSize(record.width(), record.height())) << name;
        for (const QImage& other : looks)
            EXPECT_NE(picture.image(), other) << name;
        looks.push_back(picture.image());
    }
}

TEST(DefaultSkin, ConfirmationDialogsOpenFromTheRealSkin) {
    for (const std::string_view file :
         {ConfirmationDialog::kResetCurrentWarning, ConfirmationDialog::kResetAllWarning,
          ConfirmationDialog::kMacroSetWarning, ConfirmationDialog::kDeleteMacroWarning}) {
        ConfirmationDialog dialog(kSkins, file, nullptr);
        EXPECT_EQ(dialog.size(), dialog.background().size()) << file;
        EXPECT_TRUE(dialog.outline().has_value()) << file;
        for (const char* name : {"confirmButton", "cancelButton", "closeButton"}) {
            const auto* button = dialog.findChild<SkinButton*>(QString::fromLatin1(name));
            ASSERT_NE(button, nullptr);
            EXPECT_FALSE(button->geometry().isEmpty()) << file << " " << name;
        }
    }
}
