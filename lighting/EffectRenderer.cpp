#include "lighting/EffectRenderer.h"

#include "lighting/EffectTable.h"
#include "lighting/KeyGeometry.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>

namespace vantrel {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
// A press older than this is forgotten, whatever the effect.
constexpr size_t kMaxPresses = 32;

struct Rgb {
    double r = 0, g = 0, b = 0;
};

Rgb fromWord(int32_t word) {
    const auto w = static_cast<uint32_t>(word);
    return {double(w & 0xFF), double((w >> 8) & 0xFF), double((w >> 16) & 0xFF)};
}

uint32_t toWord(Rgb c) {
    auto channel = [](double v) { return uint32_t(std::lround(std::clamp(v, 0.0, 255.0))); };
    return channel(c.r) | channel(c.g) << 8 | channel(c.b) << 16;
}

Rgb times(Rgb c, double f) {
    return {c.r * f, c.g * f, c.b * f};
}

Rgb mix(Rgb a, Rgb b, double f) {
    return {a.r + (b.r - a.r) * f, a.g + (b.g - a.g) * f, a.b + (b.b - a.b) * f};
}

Rgb brighter(Rgb a, Rgb b) {
    return {std::max(a.r, b.r), std::max(a.g, b.g), std::max(a.b, b.b)};
}

double frac(double v) {
    return v - std::floor(v);
}

// A fully saturated colour of hue h (turns, 0..1).
Rgb hue(double h) {
    const double x = frac(h) * 6;
    return {255 * std::clamp(std::abs(x - 3) - 1, 0.0, 1.0),
            255 * std::clamp(2 - std::abs(x - 2), 0.0, 1.0),
            255 * std::clamp(2 - std::abs(x - 4), 0.0, 1.0)};
}

double hueOf(Rgb c) {
    const double hi = std::max({c.r, c.g, c.b});
    const double lo = std::min({c.r, c.g, c.b});
    if (hi - lo < 1)
        return 0;
    double h;
    if (hi == c.r)
        h = (c.g - c.b) / (hi - lo);
    else if (hi == c.g)
        h = 2 + (c.b - c.r) / (hi - lo);
    else
        h = 4 + (c.r - c.g) / (hi - lo);
    return frac(h / 6);
}

// A fixed, well-spread number in 0..1 for a pair of integers: the same key
// twinkles at the same moments in the preview and on the keyboard.
double noise(uint32_t a, uint32_t b = 0) {
    uint32_t x = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u;
    x ^= x >> 15;
    x *= 0x2C1B3C6Du;
    x ^= x >> 12;
    x *= 0x297A2D39u;
    x ^= x >> 15;
    return (x & 0xFFFFFF) / double(0x1000000);
}

// A raised cosine around 0 that is 1 at 0 and 0 half a turn away.
double bump(double turns) {
    const double c = 0.5 + 0.5 * std::cos(kTwoPi * turns);
    return c * c;
}

// What one frame needs to know of the settings, the time and the key.
struct Scene {
    double t;               // seconds
    double rate;            // 0.25 (speed 1) .. 1.75 (speed 7)
    int direction;          // 0..3
    bool many;              // the eighth choice
    Rgb colour;             // the chosen colour
    const int32_t* colours; // the slot's seven colours
    int chosen;             // 0..6
};

// Where a key lies along a direction, as the page's arrows show it: 0 toward
// the left, 1 toward the right, 2 up, 3 down; 0 where the motion starts.
double along(const KeyGeometry::Place& p, int direction) {
    switch (direction) {
    case 0:
        return 1 - p.x;
    case 2:
        return 1 - p.y;
    case 3:
        return p.y;
    default:
        return p.x;
    }
}

double distance(const KeyGeometry::Place& a, const KeyGeometry::Place& b) {
    const double dx = a.x - b.x;
    const double dy = (a.y - b.y) * KeyGeometry::aspect();
    return std::sqrt(dx * dx + dy * dy);
}

using KeyLook = Rgb (*)(const Scene&, int key);
// How much one press lights a key, 0..1, at its age (0..1 of its lifetime).
using PressLook = double (*)(const Scene&, int key, int pressKey, double age, int number);

Rgb staticLook(const Scene& s, int k) {
    return s.many ? hue(KeyGeometry::places()[size_t(k)].x) : s.colour;
}

Rgb breathing(const Scene& s, int) {
    const double breaths = s.t * s.rate / 4;
    const Rgb colour = s.many ? fromWord(s.colours[int64_t(breaths) % kColourChoices]) : s.colour;
    return times(colour, bump(frac(breaths) - 0.5));
}

Rgb wave(const Scene& s, int k) {
    const double x = along(KeyGeometry::places()[size_t(k)], s.direction) - s.t * s.rate / 2.5;
    return s.many ? hue(x) : times(s.colour, bump(x));
}

Rgb neon(const Scene& s, int k) {
    if (s.many)
        return hue(s.t * s.rate / 12);
    return times(s.colour,
                 0.65 + 0.35 * std::sin(kTwoPi * (s.t * s.rate * 0.8 + noise(uint32_t(k)))));
}

Rgb spectrum(const Scene& s, int k) {
    const double x = along(KeyGeometry::places()[size_t(k)], s.direction) - s.t * s.rate / 4;
    return s.many ? hue(x) : hue(hueOf(s.colour) + (frac(x) - 0.5) / 3);
}

Rgb rain(const Scene& s, int k) {
    const KeyGeometry::Place& p = KeyGeometry::places()[size_t(k)];
    // Drops fall in lanes across the direction of the fall.
    const double across = s.direction < 2 ? p.y : p.x;
    const auto lane = uint32_t(across * 15.99);
    const double period = (1.2 + noise(lane)) / s.rate;
    const double fall = s.t / period + noise(lane, 1);
    const double head = frac(fall) * 1.4 - 0.2;
    const double behind = head - along(p, s.direction);
    if (behind < -0.04 || behind > 0.4)
        return {};
    const Rgb colour = s.many ? hue(noise(lane, uint32_t(fall))) : s.colour;
    return times(colour, behind < 0 ? 1 + behind / 0.04 : 1 - behind / 0.4);
}

Rgb starlight(const Scene& s, int k) {
    const KeyGeometry::Place& p = KeyGeometry::places()[size_t(k)];
    // Each key twinkles once a round at a moment of its own; the round drifts
    // across the keyboard in the direction.
    const double round = s.t * s.rate / 3 + noise(uint32_t(k)) - 0.35 * along(p, s.direction);
    const double glow = std::max(0.0, 1 - std::abs(frac(round) - 0.5) / 0.12);
    const Rgb colour = s.many ? hue(noise(uint32_t(k), uint32_t(std::floor(round)))) : s.colour;
    return times(colour, glow);
}

Rgb flow(const Scene& s, int k) {
    // The colour fills the keyboard from one side, then drains the same way.
    const double tides = s.t * s.rate / 5;
    const double front = frac(tides) * 2.2 - 0.1;
    const double x = along(KeyGeometry::places()[size_t(k)], s.direction);
    const double lit =
        std::clamp((front - x) / 0.08, 0.0, 1.0) - std::clamp((front - 1.1 - x) / 0.08, 0.0, 1.0);
    const Rgb colour = s.many ? hue(std::floor(tides) * 0.13) : s.colour;
    return times(colour, lit);
}

Rgb spiral(const Scene& s, int k) {
    const KeyGeometry::Place& p = KeyGeometry::places()[size_t(k)];
    const double dx = p.x - 0.5;
    const double dy = (p.y - 0.5) * KeyGeometry::aspect();
    // Senses: anticlockwise (left arrow) or clockwise (right), with the arms
    // wound one way (left, right) or the other (up, down).
    const double turn = s.direction == 1 || s.direction == 3 ? 1 : -1;
    const double wind = s.direction < 2 ? 1 : -1;
    const double arm =
        2 * std::atan2(dy, dx) / kTwoPi + wind * 3 * std::hypot(dx, dy) - turn * s.t * s.rate / 3;
    return s.many ? hue(arm) : times(s.colour, bump(arm));
}

Rgb customCycle(const Scene& s, int k) {
    const double step = s.t * s.rate / 2 - along(KeyGeometry::places()[size_t(k)], s.direction);
    if (s.many)
        return hue(step / kColourChoices);
    const auto first = int64_t(std::floor(step));
    auto colour = [&](int64_t i) {
        const int64_t index = ((s.chosen + i) % kColourChoices + kColourChoices) % kColourChoices;
        return fromWord(s.colours[index]);
    };
    return mix(colour(first), colour(first + 1), frac(step));
}

double ripple(const Scene&, int k, int pressKey, double age, int) {
    const auto& places = KeyGeometry::places();
    const double ring = distance(places[size_t(k)], places[size_t(pressKey)]);
    return std::max(0.0, 1 - std::abs(ring - age) / 0.07) * (1 - age);
}

double reactive(const Scene&, int k, int pressKey, double age, int) {
    return k == pressKey ? 1 - age : 0;
}

double fireworks(const Scene& s, int k, int pressKey, double age, int number) {
    const auto& places = KeyGeometry::places();
    if (distance(places[size_t(k)], places[size_t(pressKey)]) > 0.3 * std::sqrt(age))
        return 0;
    // Sparks: keys inside the burst flicker as it fades.
    const double spark =
        k == pressKey && age < 0.2 ? 1 : noise(uint32_t(k), uint32_t(s.t * 20) + uint32_t(number));
    return spark * (1 - age);
}

struct EffectLook {
    KeyLook key;     // the look of effects that need no key press
    PressLook press; // the look of one press, for effects that react to keys
};

// By effect number 0..12.
constexpr std::array<EffectLook, 13> kLooks{{
    {staticLook, nullptr},
    {breathing, nullptr},
    {wave, nullptr},
    {nullptr, ripple},
    {nullptr, reactive},
    {neon, nullptr},
    {spectrum, nullptr},
    {rain, nullptr},
    {starlight, nullptr},
    {flow, nullptr},
    {spiral, nullptr},
    {nullptr, fireworks},
    {customCycle, nullptr},
}};

bool isDiy(int32_t effect) {
    return effect >= kFirstDiyEffect && effect < kFirstDiyEffect + kDiyEffects;
}

// The effect a profile shows: any unknown number shows the static effect, as
// the program shows its page.
int32_t shownEffect(int32_t effect) {
    return isDiy(effect) || (effect >= 0 && effect < int32_t(kLooks.size())) ? effect : 0;
}

} // namespace

uint32_t EffectRenderer::scale(uint32_t colour, int brightness) {
    const int b = std::clamp(brightness, 0, 10);
    return scaleChannel(colour & 0xFF, b) | scaleChannel((colour >> 8) & 0xFF, b) << 8 |
           scaleChannel((colour >> 16) & 0xFF, b) << 16;
}

void EffectRenderer::setProfile(const ProfileRecord& p) {
    Lighting& l = m_lighting;
    l.effect = shownEffect(p.LtSwitch);
    std::copy(std::begin(p.Brightness), std::end(p.Brightness), l.brightness);
    std::copy(std::begin(p.LtPulsation), std::end(p.LtPulsation), l.pulsation);
    std::copy(&p.Color[0][0], &p.Color[0][0] + kEffectSlots * kColourChoices, &l.colour[0][0]);
    std::copy(std::begin(p.Direction), std::end(p.Direction), l.direction);
    std::copy(std::begin(p.LtColor), std::end(p.LtColor), l.chosen);
    std::copy(&p.CustomColor[0][0], &p.CustomColor[0][0] + kDiyEffects * kKeyPositions,
              &l.custom[0][0]);
    std::copy(std::begin(p.DIYColorOption), std::end(p.DIYColorOption), l.diyOption);
    std::copy(&p.DIYColor[0][0], &p.DIYColor[0][0] + kDiyEffects * 2, &l.diyColour[0][0]);
}

int64_t EffectRenderer::pressLifetimeMs() const {
    const EffectPageEntry& page = EffectTable::pageOf(m_lighting.effect);
    const int speed =
        page.pulsationSlot >= 0 ? std::clamp(m_lighting.pulsation[page.pulsationSlot], 1, 7) : 4;
    // Speed 4 shows a press for two seconds, speed 7 for a little over one.
    return 8000 / speed;
}

void EffectRenderer::forgetOldPresses(int64_t nowMs) {
    const int64_t lifetime = pressLifetimeMs();
    std::erase_if(m_presses,
                  [&](const Press& p) { return nowMs - p.atMs >= lifetime || nowMs < p.atMs; });
    if (m_presses.size() > kMaxPresses)
        m_presses.erase(m_presses.begin(), m_presses.end() - kMaxPresses);
}

void EffectRenderer::keyPressed(int position, int64_t nowMs) {
    if (position < 0 || position >= kKeyPositions)
        return;
    m_presses.push_back({position, nowMs, m_pressCount++});
    forgetOldPresses(nowMs);
}

bool EffectRenderer::moving(int64_t nowMs) const {
    const int32_t effect = m_lighting.effect;
    if (effect == 0 || isDiy(effect))
        return false;
    if (kLooks[size_t(effect)].press == nullptr)
        return true;
    const int64_t lifetime = pressLifetimeMs();
    return std::any_of(m_presses.begin(), m_presses.end(), [&](const Press& p) {
        return nowMs >= p.atMs && nowMs - p.atMs < lifetime;
    });
}

EffectRenderer::Frame EffectRenderer::render(int64_t nowMs) {
    const Lighting& l = m_lighting;
    const EffectPageEntry& page = EffectTable::pageOf(l.effect);
    const int brightness = l.brightness[page.brightnessEntry];
    Frame frame{};
    if (isDiy(l.effect)) {
        const int d = l.effect - kFirstDiyEffect;
        for (int k = 0; k < kKeyPositions; ++k) {
            const int32_t colour = l.diyOption[d] != 0 ? l.diyColour[d][1] : l.custom[d][k];
            frame[size_t(k)] = scale(uint32_t(colour) & 0xFFFFFF, brightness);
        }
        return frame;
    }

    Scene scene{};
    const int slot = page.colourSlot;
    const int chosen = l.chosen[slot];
    scene.many = chosen == 7;
    scene.chosen = chosen >= 0 && chosen < kColourChoices ? chosen : 0;
    scene.colours = l.colour[slot];
    scene.colour = fromWord(int32_t(uint32_t(scene.colours[scene.chosen]) & 0xFFFFFF));
    scene.t = double(nowMs) / 1000;
    const int speed =
        page.pulsationSlot >= 0 ? std::clamp(l.pulsation[page.pulsationSlot], 1, 7) : 4;
    scene.rate = speed / 4.0;
    scene.direction =
        page.directionEntry >= 0 ? std::clamp(l.direction[page.directionEntry], 0, 3) : 0;

    const EffectLook& look = kLooks[size_t(l.effect)];
    if (look.key) {
        for (int k = 0; k < kKeyPositions; ++k)
            frame[size_t(k)] = scale(toWord(look.key(scene, k)), brightness);
        return frame;
    }
    forgetOldPresses(nowMs);
    const double lifetime = double(pressLifetimeMs());
    std::array<Rgb, kKeyPositions> lit{};
    for (const Press& p : m_presses) {
        const Rgb colour = scene.many ? hue(p.number * 0.17) : scene.colour;
        const double age = double(nowMs - p.atMs) / lifetime;
        for (int k = 0; k < kKeyPositions; ++k) {
            const double f = look.press(scene, k, p.position, age, p.number);
            if (f > 0)
                lit[size_t(k)] = brighter(lit[size_t(k)], times(colour, f));
        }
    }
    for (int k = 0; k < kKeyPositions; ++k)
        frame[size_t(k)] = scale(toWord(lit[size_t(k)]), brightness);
    return frame;
}

} // namespace vantrel
