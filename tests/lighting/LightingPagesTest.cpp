#include "keys/KeyAssignmentPage.h"
#include "lighting/ColourPicker.h"
#include "lighting/ColourSwatch.h"
#include "lighting/ColourValueBox.h"
#include "lighting/DiyPage.h"
#include "lighting/EffectPage.h"
#include "lighting/EffectTable.h"
#include "settings/ProfileDefaults.h"
#include "skin/AppContext.h"
#include "skin/CclickHSlider.h"
#include "skin/ColourButton.h"
#include "skin/SkinButton.h"
#include "skin/SkinLabel.h"
#include "tests/TempProgramFolder.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace vantrel;

namespace {

struct PagesFixture {
    vantrel::test::TempProgramFolder folder;
    AppContext context{folder.folder(), std::nullopt};

    PagesFixture() { resetAllProfiles(context.editedSettings(), context.strings()); }
    ProfileRecord& profile() { return context.editedSettings().profiles[0]; }
    std::unique_ptr<EffectPage> effectPage(int32_t effect) {
        auto page = std::make_unique<EffectPage>(context, effect, nullptr);
        page->show();
        page->refresh();
        return page;
    }
};

// Lets the queued notices of the page's controls arrive.
void settle() {
    QCoreApplication::processEvents();
}

} // namespace

TEST(EffectPage, EveryPageHasTheControlsOfItsLayout) {
    PagesFixture f;
    for (const EffectPageEntry& entry : EffectTable::pages()) {
        if (entry.kind != EffectPageEntry::Kind::Effect)
            continue;
        auto page = f.effectPage(entry.effect);
        EXPECT_NE(page->brightnessSlider(), nullptr) << entry.effect;
        EXPECT_EQ(page->pulsationSlider() != nullptr, entry.effect != 0) << entry.effect;
        EXPECT_EQ(page->directionButton(0) != nullptr,
                  entry.directionEntry != EffectPageEntry::kNone)
            << entry.effect;
        // Where the shared skin draws directions the page has none of, they show disabled.
        if (entry.directionEntry == EffectPageEntry::kNone &&
            entry.skinFile == "Skin_Effect2.ini") {
            const auto* unused =
                page->findChild<SkinButton*>(QStringLiteral("unusedDirectionButton0"));
            ASSERT_NE(unused, nullptr) << entry.effect;
            EXPECT_FALSE(unused->isEnabled()) << entry.effect;
        }
        for (int i = 0; i < EffectPage::kColours; ++i) {
            EXPECT_EQ(page->colourButton(i)->outerInset(), 4);
            EXPECT_EQ(page->colourButton(i)->innerInset(), 5);
            EXPECT_FALSE(page->colourButton(i)->blendMode());
        }
    }
}

TEST(EffectPage, SlidersStoreTheirLevelsAndShowThemAgain) {
    PagesFixture f;
    auto five = f.effectPage(5);
    emit five->brightnessSlider()->valueChanged(3, 201);
    settle();
    EXPECT_EQ(f.profile().Brightness[5], 3);
    EXPECT_EQ(five->brightnessLabel()->text(), QStringLiteral("30%"));
    emit five->brightnessSlider()->valueChanged(10, 201);
    settle();
    EXPECT_EQ(five->brightnessLabel()->text(), QStringLiteral("100%"));

    auto two = f.effectPage(2);
    emit two->pulsationSlider()->valueChanged(6, 202);
    settle();
    EXPECT_EQ(f.profile().LtPulsation[2], 6);
    EXPECT_EQ(two->pulsationLabel()->text(), QStringLiteral("6"));
    two->pulsationSlider()->setValue(1);
    two->refresh();
    EXPECT_EQ(two->pulsationSlider()->value(), 6);
}

TEST(EffectPage, ColoursBytesAndTheEighthChoice) {
    PagesFixture f;
    ProfileRecord& p = f.profile();
    // Effect 12 shows effect 8's colours.
    p.Color[8][2] = 0x112233;
    auto twelve = f.effectPage(12);
    EXPECT_EQ(twelve->colourButton(2)->colour(), 0x112233u);

    // Green 128 typed while pure red is chosen.
    auto zero = f.effectPage(0);
    p.Color[0][3] = 0x0000FF;
    zero->refresh();
    QTest::mouseClick(zero->colourButton(3), Qt::LeftButton);
    EXPECT_EQ(p.LtColor[0], 3);
    EXPECT_EQ(zero->valueBox(0)->value(), 255);
    emit zero->valueBox(1)->valueSet(128, 401);
    settle();
    EXPECT_EQ(p.Color[0][3], 0x0080FF);
    EXPECT_EQ(zero->colourButton(3)->colour(), 0x0080FFu);
    EXPECT_EQ(zero->swatch()->colour(), 0x0080FFu);

    // A picked colour goes to the chosen one; with the eighth choice only to the swatch.
    QTest::mouseClick(zero->picker(), Qt::LeftButton, {}, QPoint(60, 40));
    settle();
    const uint32_t picked = zero->picker()->colour();
    EXPECT_EQ(static_cast<uint32_t>(p.Color[0][3]), picked);
    QTest::mouseClick(zero->eighthChoiceButton(), Qt::LeftButton);
    EXPECT_EQ(p.LtColor[0], EffectPage::kEighthChoice);
    EXPECT_FALSE(zero->colourButton(3)->isChecked());
    QTest::mouseClick(zero->picker(), Qt::LeftButton, {}, QPoint(200, 30));
    settle();
    EXPECT_EQ(static_cast<uint32_t>(p.Color[0][3]), picked);
    EXPECT_EQ(zero->swatch()->colour(), zero->picker()->colour());
    EXPECT_NE(zero->picker()->colour(), picked);

    // A profile with the eighth choice shows it checked on effect 0 only.
    p.LtColor[1] = EffectPage::kEighthChoice;
    auto one = f.effectPage(1);
    zero->eighthChoiceButton()->setChecked(false);
    zero->refresh();
    EXPECT_TRUE(zero->eighthChoiceButton()->isChecked());
    EXPECT_FALSE(one->eighthChoiceButton()->isChecked());
}

TEST(EffectPage, DirectionsGoToTheirEntry) {
    PagesFixture f;
    auto ten = f.effectPage(10);
    QTest::mouseClick(ten->directionButton(2), Qt::LeftButton);
    EXPECT_EQ(f.profile().Direction[1], 2);
    EXPECT_TRUE(ten->directionButton(2)->isChecked());
    EXPECT_FALSE(ten->directionButton(0)->isChecked());
    // Effect 7 shares Direction[0] but its refresh leaves its buttons alone.
    auto seven = f.effectPage(7);
    QTest::mouseClick(seven->directionButton(1), Qt::LeftButton);
    f.profile().Direction[0] = 3;
    seven->refresh();
    EXPECT_TRUE(seven->directionButton(1)->isChecked());
}

TEST(DiyPage, ModesPaintingAndTheColourDialog) {
    PagesFixture f;
    ProfileRecord& p = f.profile();
    p.LtSwitch = 51;
    p.DIYColorOption[0] = 1;
    p.CustomColor[0][10] = 0x000011;
    p.CustomColor[0][20] = 0x000022;
    KeyAssignmentPage keyboard(f.context, nullptr);
    keyboard.show();
    f.context.setViewState(1);
    keyboard.setKeyboardLook(KeyAssignmentPage::Look::Lighting);
    DiyPage page(f.context, 51, keyboard, nullptr);
    page.show();
    page.refresh();
    EXPECT_TRUE(page.allKeysButton()->isChecked());
    EXPECT_EQ(page.perKeyButton()->outerInset(), 8);

    // First click selects per-key colours: no dialog, keys enabled with their own colours.
    QTest::mouseClick(page.perKeyButton(), Qt::LeftButton);
    EXPECT_FALSE(f.context.dialogs().hasPendingAnswers());
    EXPECT_EQ(p.DIYColorOption[0], 0);
    EXPECT_TRUE(keyboard.colourKey(10)->isEnabled());
    EXPECT_EQ(keyboard.colourKey(20)->colour(), 0x000022u);

    // Second click opens the dialog: green becomes the paint colour and the brush.
    f.context.dialogs().answerNext([](QDialog& d) {
        d.show(); // as exec() would; the mouse reaches shown windows only
        QTest::mouseClick(d.findChild<SkinButton*>(QStringLiteral("presetButton1")),
                          Qt::LeftButton);
        return static_cast<int>(QDialog::Accepted);
    });
    QTest::mouseClick(page.perKeyButton(), Qt::LeftButton);
    EXPECT_EQ(p.DIYColor[0][0], 0x00FF00);
    EXPECT_EQ(keyboard.colourKey(10)->brushColour(), 0x00FF00u);
    QTest::mouseClick(keyboard.colourKey(10), Qt::LeftButton);
    EXPECT_EQ(p.CustomColor[0][10], 0x00FF00);

    // All keys: the keys show disabled in one colour; back again, each its own.
    p.DIYColor[0][1] = 0x0000FF;
    QTest::mouseClick(page.allKeysButton(), Qt::LeftButton);
    EXPECT_FALSE(keyboard.colourKey(10)->isEnabled());
    EXPECT_EQ(keyboard.colourKey(20)->colour(), 0x0000FFu);
    QTest::mouseClick(page.perKeyButton(), Qt::LeftButton);
    EXPECT_EQ(keyboard.colourKey(10)->colour(), 0x00FF00u);
    EXPECT_EQ(keyboard.colourKey(20)->colour(), 0x000022u);
}

TEST(DiyPage, BrightnessOfItsOwnEntryAndTheBrushOfTheCurrentEffectOnly) {
    PagesFixture f;
    f.profile().LtSwitch = 51;
    f.profile().DIYColor[4][0] = 0x000055;
    KeyAssignmentPage keyboard(f.context, nullptr);
    DiyPage current(f.context, 51, keyboard, nullptr);
    DiyPage page(f.context, 55, keyboard, nullptr);
    current.refresh(); // in the order a refresh of every page takes
    page.refresh();
    EXPECT_EQ(keyboard.colourKey(7)->brushColour(), uint32_t(f.profile().DIYColor[0][0]));
    page.show();
    emit page.brightnessSlider()->valueChanged(0, 201);
    settle();
    EXPECT_EQ(f.profile().Brightness[17], 0);
    EXPECT_EQ(page.brightnessLabel()->text(), QStringLiteral("0%"));
}
