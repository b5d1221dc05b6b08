#include "lighting/SelectColourDialog.h"
#include "lighting/ColourPicker.h"
#include "lighting/ColourSwatch.h"
#include "lighting/ColourValueBox.h"
#include "skin/AppContext.h"
#include "skin/BitmapEdit.h"
#include "skin/SkinButton.h"
#include "tests/TempProgramFolder.h"
#include "tests/UiWait.h"

#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <functional>

using namespace vantrel;
using vantrel::test::handlePosted;

namespace {

struct DialogFixture {
    vantrel::test::TempProgramFolder folder;
    AppContext context{folder.folder(), std::nullopt};

    // Opens the dialog on colour, lets act work on it, and returns what the caller gets.
    std::optional<uint32_t> choose(uint32_t colour,
                                   const std::function<void(SelectColourDialog&)>& act) {
        context.dialogs().answerNext([&](QDialog& d) {
            d.show(); // as exec() would; the mouse reaches shown windows only
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&d));
            act(static_cast<SelectColourDialog&>(d));
            return d.result();
        });
        return SelectColourDialog::choose(context, colour, nullptr);
    }
};

template <typename T> T* find(QDialog& d, const QString& name) {
    T* found = d.findChild<T*>(name);
    EXPECT_TRUE(found) << name.toStdString();
    return found;
}

void press(QDialog& d, const QString& name) {
    QTest::mouseClick(find<SkinButton>(d, name), Qt::LeftButton);
    handlePosted();
}

std::array<int, 3> shownBytes(QDialog& d) {
    std::array<int, 3> bytes{};
    const QString names[] = {QStringLiteral("redBox"), QStringLiteral("greenBox"),
                             QStringLiteral("blueBox")};
    for (size_t c = 0; c < 3; ++c) {
        const ColourValueBox* box = find<ColourValueBox>(d, names[c]);
        EXPECT_EQ(box->edit()->text(), QString::number(box->value()));
        bytes[c] = box->value();
    }
    return bytes;
}

} // namespace

TEST(SelectColourDialog, PresetsShowTheirBytesInTheBoxesAndTheSwatch) {
    DialogFixture f;
    const std::array<std::array<int, 3>, 8> bytes{{{255, 0, 0},
                                                   {0, 255, 0},
                                                   {0, 0, 255},
                                                   {255, 0, 255},
                                                   {255, 255, 255},
                                                   {0, 255, 255},
                                                   {255, 255, 0},
                                                   {245, 61, 1}}};
    const std::optional<uint32_t> chosen = f.choose(0x000000, [&](SelectColourDialog& d) {
        EXPECT_EQ(shownBytes(d), (std::array<int, 3>{0, 0, 0}));
        for (size_t i = 0; i < bytes.size(); ++i) {
            press(d, QStringLiteral("presetButton%1").arg(i));
            const uint32_t word =
                static_cast<uint32_t>(bytes[i][0] | bytes[i][1] << 8 | bytes[i][2] << 16);
            EXPECT_EQ(shownBytes(d), bytes[i]) << "preset " << i;
            EXPECT_EQ(d.colour(), word) << "preset " << i;
            EXPECT_EQ(find<ColourSwatch>(d, QStringLiteral("swatch"))->colour(), word);
        }
        press(d, QStringLiteral("okButton"));
    });
    EXPECT_EQ(chosen, std::optional<uint32_t>(0x013DF5));
}

TEST(SelectColourDialog, TypedBytesAndPicksMakeTheColourWhichOnlyOkHandsBack) {
    DialogFixture f;
    // Green 128 typed over red.
    EXPECT_EQ(f.choose(0x0000FF,
                       [](SelectColourDialog& d) {
                           EXPECT_EQ(shownBytes(d), (std::array<int, 3>{255, 0, 0}));
                           BitmapEdit* green =
                               find<ColourValueBox>(d, QStringLiteral("greenBox"))->edit();
                           green->setFocus();
                           green->selectAll();
                           QTest::keyClicks(green, QStringLiteral("128"));
                           handlePosted();
                           EXPECT_EQ(d.colour(), 0x0080FFu);
                           EXPECT_EQ(find<ColourSwatch>(d, QStringLiteral("swatch"))->colour(),
                                     0x0080FFu);
                           press(d, QStringLiteral("okButton"));
                       }),
              std::optional<uint32_t>(0x0080FF));

    // Whatever was chosen, Cancel hands back nothing.
    EXPECT_EQ(f.choose(0x123456,
                       [](SelectColourDialog& d) {
                           press(d, QStringLiteral("presetButton1"));
                           auto* picker = find<ColourPicker>(d, QStringLiteral("picker"));
                           QTest::mouseClick(picker, Qt::LeftButton, {}, QPoint(100, 40));
                           handlePosted();
                           const uint32_t picked = picker->colour();
                           EXPECT_NE(picked, 0x0000FFu);
                           EXPECT_EQ(d.colour(), picked);
                           EXPECT_EQ(shownBytes(d),
                                     (std::array<int, 3>{static_cast<int>(picked & 0xFF),
                                                         static_cast<int>(picked >> 8 & 0xFF),
                                                         static_cast<int>(picked >> 16)}));
                           press(d, QStringLiteral("cancelButton"));
                           EXPECT_EQ(d.result(), QDialog::Rejected);
                       }),
              std::nullopt);
}
