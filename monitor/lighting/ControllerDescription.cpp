#include "monitor/lighting/ControllerDescription.h"

#include <cstring>

namespace vantrel {

namespace {

// Reads little-endian fields within the payload; the first read beyond it
// fails this and every later read.
class Reader {
public:
    explicit Reader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}
    bool ok() const { return m_ok; }
    bool atEnd() const { return m_ok && m_at == m_bytes.size(); }
    void fail() { m_ok = false; }

    uint16_t u16() {
        const uint8_t* p = take(2);
        return p ? uint16_t(p[0] | p[1] << 8) : 0;
    }
    uint32_t u32() {
        const uint8_t* p = take(4);
        return p ? uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                       uint32_t(p[3]) << 24
                 : 0;
    }
    int32_t i32() { return int32_t(u32()); }
    // A 16-bit length (its NUL included), then the bytes.
    std::string text() {
        const uint16_t length = u16();
        const uint8_t* p = take(length);
        if (!p)
            return {};
        const auto* c = reinterpret_cast<const char*>(p);
        return std::string(c, strnlen(c, length));
    }
    std::vector<uint32_t> words(size_t count) {
        std::vector<uint32_t> out;
        if (!fits(count * 4))
            return out;
        out.reserve(count);
        for (size_t i = 0; i < count; ++i)
            out.push_back(u32());
        return out;
    }
    // Whether n more bytes are there, before making room for what they hold.
    bool fits(size_t n) {
        if (m_bytes.size() - m_at < n)
            m_ok = false;
        return m_ok;
    }

private:
    const uint8_t* take(size_t n) {
        if (!fits(n))
            return nullptr;
        const uint8_t* p = m_bytes.data() + m_at;
        m_at += n;
        return p;
    }

    std::span<const uint8_t> m_bytes;
    size_t m_at = 0;
    bool m_ok = true;
};

// The smallest encodings, so that a count cannot make room for more items
// than the bytes left could hold.
constexpr size_t kMinMode = 2 + 4 * 10 + 2;
constexpr size_t kMinZone = 2 + 4 * 4 + 2;
constexpr size_t kMinSegment = 2 + 4 * 3;
constexpr size_t kMinLed = 2 + 4;
constexpr size_t kMinText = 2;

ControllerDescription::Mode readMode(Reader& in, uint32_t protocol) {
    ControllerDescription::Mode m;
    m.name = in.text();
    m.value = in.i32();
    m.flags = in.u32();
    m.speedMin = in.u32();
    m.speedMax = in.u32();
    if (protocol >= 3) {
        m.brightnessMin = in.u32();
        m.brightnessMax = in.u32();
    }
    m.coloursMin = in.u32();
    m.coloursMax = in.u32();
    m.speed = in.u32();
    if (protocol >= 3)
        m.brightness = in.u32();
    m.direction = in.u32();
    m.colourMode = in.u32();
    m.colours = in.words(in.u16());
    return m;
}

ControllerDescription::Zone readZone(Reader& in, uint32_t protocol) {
    ControllerDescription::Zone z;
    z.name = in.text();
    z.type = in.i32();
    z.ledsMin = in.u32();
    z.ledsMax = in.u32();
    z.ledsCount = in.u32();
    // The map's byte count (0 without a map), then height, width and cells.
    if (const uint16_t mapBytes = in.u16()) {
        z.matrixHeight = in.u32();
        z.matrixWidth = in.u32();
        const uint64_t cells = uint64_t(z.matrixHeight) * z.matrixWidth;
        if (mapBytes != 8 + 4 * cells) {
            in.fail();
            return z;
        }
        z.matrix = in.words(size_t(cells));
    }
    if (protocol >= 4) {
        const uint16_t count = in.u16();
        if (!in.fits(count * kMinSegment))
            return z;
        for (uint16_t i = 0; i < count && in.ok(); ++i) {
            ControllerDescription::Segment s;
            s.name = in.text();
            s.type = in.i32();
            s.start = in.u32();
            s.count = in.u32();
            z.segments.push_back(std::move(s));
        }
    }
    if (protocol >= 5)
        z.flags = in.u32();
    return z;
}

} // namespace

std::optional<ControllerDescription> ControllerDescription::parse(std::span<const uint8_t> payload,
                                                                  uint32_t protocol) {
    Reader size(payload);
    if (size.u32() != payload.size() || !size.ok())
        return std::nullopt;
    Reader in(payload.subspan(4));
    ControllerDescription d;
    d.type = in.i32();
    d.name = in.text();
    if (protocol >= 1)
        d.vendor = in.text();
    d.description = in.text();
    d.version = in.text();
    d.serial = in.text();
    d.location = in.text();

    const uint16_t modeCount = in.u16();
    d.activeMode = in.i32();
    if (!in.fits(modeCount * kMinMode))
        return std::nullopt;
    for (uint16_t i = 0; i < modeCount && in.ok(); ++i)
        d.modes.push_back(readMode(in, protocol));

    const uint16_t zoneCount = in.u16();
    if (!in.fits(zoneCount * kMinZone))
        return std::nullopt;
    for (uint16_t i = 0; i < zoneCount && in.ok(); ++i)
        d.zones.push_back(readZone(in, protocol));

    const uint16_t ledCount = in.u16();
    if (!in.fits(ledCount * kMinLed))
        return std::nullopt;
    for (uint16_t i = 0; i < ledCount && in.ok(); ++i) {
        d.ledNames.push_back(in.text());
        d.ledValues.push_back(in.u32());
    }
    d.colours = in.words(in.u16());

    if (protocol >= 5) {
        const uint16_t altCount = in.u16();
        if (!in.fits(altCount * kMinText))
            return std::nullopt;
        for (uint16_t i = 0; i < altCount && in.ok(); ++i)
            d.ledAltNames.push_back(in.text());
        d.flags = in.u32();
    }
    // Every byte accounted for: a layout read at the wrong version fails here.
    if (!in.atEnd())
        return std::nullopt;
    return d;
}

} // namespace vantrel
