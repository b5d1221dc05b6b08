#include "lighting/EffectRenderer.h"
#include "lighting/KeyGeometry.h"
#include "settings/LanguageStrings.h"
#include "settings/ProfileDefaults.h"

#include <gtest/gtest.h>

#include <set>

using namespace vantrel;

namespace {

struct Renderer : ::testing::Test {
    ProfileRecord profile{};
    EffectRenderer renderer;

    Renderer() { resetProfile(profile, 0, LanguageStrings{}); }

    EffectRenderer::Frame frameOf(int32_t effect, int64_t ms) {
        profile.LtSwitch = effect;
        renderer.setProfile(profile);
        return renderer.render(ms);
    }
    // How much the whole keyboard changes over 40 ms from ms on.
    long change(int32_t effect, int64_t ms) {
        const EffectRenderer::Frame a = frameOf(effect, ms);
        const EffectRenderer::Frame b = frameOf(effect, ms + 40);
        long sum = 0;
        for (size_t k = 0; k < a.size(); ++k)
            for (int shift : {0, 8, 16})
                sum += std::abs(int((a[k] >> shift) & 0xFF) - int((b[k] >> shift) & 0xFF));
        return sum;
    }
};

// The keys nearest to the four sides of the keyboard.
struct Sides {
    int left = 0, right = 0, top = 0, bottom = 0;
    Sides() {
        const auto& places = KeyGeometry::places();
        for (int k = 0; k < kKeyPositions; ++k) {
            if (KeyGeometry::rects()[size_t(k)].empty())
                continue;
            const auto& p = places[size_t(k)];
            if (p.x < places[size_t(left)].x)
                left = k;
            if (p.x > places[size_t(right)].x)
                right = k;
            if (p.y < places[size_t(top)].y)
                top = k;
            if (p.y > places[size_t(bottom)].y)
                bottom = k;
        }
    }
};

} // namespace

TEST_F(Renderer, BrightnessScalesEveryChannelAndStoredColoursShowExactly) {
    const struct {
        uint32_t v;
        int b;
        uint32_t scaled;
    } channels[] = {{255, 10, 255}, {255, 3, 77}, {255, 0, 0}, {1, 5, 1}, {1, 4, 0}, {200, 7, 140}};
    for (const auto& c : channels)
        EXPECT_EQ(EffectRenderer::scaleChannel(c.v, c.b), c.scaled) << c.v << " at " << c.b;
    EXPECT_EQ(EffectRenderer::scale(0x123456, 11), 0x123456u); // levels beyond 10 are 10

    // Effect 0 shows the chosen stored colour on every key, at any time.
    profile.Color[0][4] = 0x20FF81;
    profile.LtColor[0] = 4;
    profile.Brightness[0] = 3;
    for (int64_t ms : {0, 777, 123456}) {
        for (uint32_t colour : frameOf(0, ms))
            ASSERT_EQ(colour, EffectRenderer::scale(0x20FF81, 3));
    }
    EXPECT_FALSE(renderer.moving(0));

    // DIY 2 (effect 52): per-key colours, then one colour for all keys.
    profile.CustomColor[1][10] = 0x00FF00;
    profile.CustomColor[1][20] = 0xFF0000;
    profile.Brightness[14] = 5;
    const EffectRenderer::Frame perKey = frameOf(52, 0);
    for (int k = 0; k < kKeyPositions; ++k)
        ASSERT_EQ(perKey[size_t(k)], EffectRenderer::scale(uint32_t(profile.CustomColor[1][k]), 5));
    EXPECT_EQ(perKey[10], 0x008000u);
    profile.DIYColorOption[1] = 1;
    profile.DIYColor[1][1] = 0x0000FF;
    for (uint32_t colour : frameOf(52, 5000))
        ASSERT_EQ(colour, 0x000080u);
    EXPECT_FALSE(renderer.moving(5000));
}

TEST_F(Renderer, MovingEffectsMoveFasterAtHigherSpeedsAndTheEighthChoiceGivesManyColours) {
    // effect, its pulsation slot, its colour slot
    const struct {
        int32_t effect;
        int pulsation;
        int colour;
    } moving[] = {{1, 0, 1}, {2, 2, 2}, {5, 5, 5},    {6, 6, 6},  {7, 7, 7},
                  {8, 8, 8}, {9, 9, 9}, {10, 10, 10}, {12, 11, 8}};
    for (const auto& e : moving) {
        SCOPED_TRACE(e.effect);
        profile.LtColor[e.colour] = 0;
        long slow = 0, fast = 0;
        for (int64_t ms = 1000; ms < 9000; ms += 700) {
            profile.LtPulsation[e.pulsation] = 2;
            slow += change(e.effect, ms);
            profile.LtPulsation[e.pulsation] = 6;
            fast += change(e.effect, ms);
        }
        EXPECT_GT(slow, 0);
        EXPECT_GT(fast, slow);
        EXPECT_TRUE(renderer.moving(0));

        profile.LtColor[e.colour] = 7;
        std::set<uint32_t> colours;
        for (int64_t ms = 0; ms < 20000; ms += 1300) {
            for (uint32_t colour : frameOf(e.effect, ms))
                colours.insert(colour);
        }
        EXPECT_GT(colours.size(), 6u);
        profile.LtColor[e.colour] = 0;
    }
    // The static effect's eighth choice is a still rainbow.
    profile.LtColor[0] = 7;
    const EffectRenderer::Frame rainbow = frameOf(0, 0);
    EXPECT_GT(std::set<uint32_t>(rainbow.begin(), rainbow.end()).size(), 6u);
    EXPECT_EQ(frameOf(0, 5000), rainbow);
}

TEST_F(Renderer, EachDirectionMovesItsWay) {
    const Sides s;
    // Flow fills the keyboard from the side the direction starts at: a third
    // of the way into a fill, the first side is lit and the far side dark.
    const struct {
        int direction;
        int lit, dark;
    } senses[] = {
        {0, s.right, s.left}, {1, s.left, s.right}, {2, s.bottom, s.top}, {3, s.top, s.bottom}};
    profile.LtPulsation[9] = 4;
    for (const auto& sense : senses) {
        profile.Direction[0] = sense.direction;
        const EffectRenderer::Frame f = frameOf(9, 1500);
        EXPECT_EQ(f[size_t(sense.lit)], 0x0000FFu) << sense.direction;
        EXPECT_EQ(f[size_t(sense.dark)], 0u) << sense.direction;
    }
    // Every effect with directions looks different in each of the four.
    for (int32_t effect : {2, 6, 7, 8, 9, 10, 12}) {
        const int entry = effect >= 10 ? 1 : 0;
        std::set<EffectRenderer::Frame> looks;
        for (int d = 0; d < 4; ++d) {
            profile.Direction[entry] = d;
            looks.insert(frameOf(effect, 2345));
        }
        EXPECT_EQ(looks.size(), 4u) << effect;
    }
}

TEST_F(Renderer, KeyPressesStartTheReactiveEffectsAtTheirKey) {
    const Sides s;
    for (int32_t effect : {3, 4, 11}) {
        SCOPED_TRACE(effect);
        EffectRenderer fresh;
        renderer = fresh;
        for (uint32_t colour : frameOf(effect, 1000))
            ASSERT_EQ(colour, 0u); // dark until a key is pressed
        EXPECT_FALSE(renderer.moving(1000));

        renderer.keyPressed(s.left, 1000);
        renderer.keyPressed(kKeyPositions, 1000); // no such key: ignored
        EXPECT_TRUE(renderer.moving(1010));
        const EffectRenderer::Frame f = renderer.render(1010);
        EXPECT_NE(f[size_t(s.left)], 0u);
        EXPECT_EQ(f[size_t(s.right)], 0u);
        for (uint32_t colour : renderer.render(1000 + 60000))
            ASSERT_EQ(colour, 0u);
        EXPECT_FALSE(renderer.moving(1000 + 60000));
    }
}
