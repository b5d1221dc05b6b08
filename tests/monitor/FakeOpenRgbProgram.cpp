// A fake OpenRGB SDK server to start by hand, for a journey with the real
// monitor: a full-size keyboard (and a mouse, which the monitor leaves alone)
// on 127.0.0.1:PORT; prints each frame whose colours changed, LED by LED.
#include "tests/monitor/FakeOpenRgbServer.h"

#include <chrono>
#include <cstdio>
#include <sstream>

using namespace vantrel;
using namespace vantrel::test;

namespace {

constexpr const char* kKeys =
    "Escape,F1,F2,F3,F4,F5,F6,F7,F8,F9,F10,F11,F12,Print Screen,Scroll Lock,Pause/Break,`,1,2,3,"
    "4,5,6,7,8,9,0,-,=,Backspace,Insert,Home,Page Up,Num Lock,Number Pad /,Number Pad *,"
    "Number Pad -,Tab,Q,W,E,R,T,Y,U,I,O,P,[,],\\ (ANSI),Delete,End,Page Down,Number Pad 7,"
    "Number Pad 8,Number Pad 9,Number Pad +,Caps Lock,A,S,D,F,G,H,J,K,L,;,',Enter,Number Pad 4,"
    "Number Pad 5,Number Pad 6,Left Shift,Z,X,C,V,B,N,M,,,.,/,Right Shift,Up Arrow,Number Pad 1,"
    "Number Pad 2,Number Pad 3,Number Pad Enter,Left Control,Left Windows,Left Alt,Space,"
    "Right Alt,Right Windows,Menu,Right Control,Left Arrow,Down Arrow,Right Arrow,Number Pad 0,"
    "Number Pad .";

FakeOpenRgbServer::Controller keyboard() {
    FakeOpenRgbServer::Controller k{5, "Fake Keyboard", {}, {}, {}};
    std::string keys = kKeys;
    // The comma key is the "," between two separators.
    for (size_t at = 0; at <= keys.size();) {
        size_t end = keys.find(',', at);
        if (end == at)
            end = at + 1;
        k.leds.push_back("Key: " + keys.substr(at, end - at));
        at = end == std::string::npos ? keys.size() + 1 : end + 1;
    }
    k.leds.push_back("Logo");
    k.colours.assign(k.leds.size(), 0x0A0B0C);
    return k;
}

} // namespace

int main(int argc, char** argv) {
    const auto port = uint16_t(argc > 1 ? std::atoi(argv[1]) : 6742);
    const auto version = uint32_t(argc > 2 ? std::atoi(argv[2]) : 5);
    const FakeOpenRgbServer::Controller k = keyboard();
    FakeOpenRgbServer server(version, {{6, "Fake Mouse", {"Wheel"}, {0}, {}}, k}, port);
    std::printf("fake OpenRGB server (protocol %u) on %s; %zu keyboard LEDs\n", version,
                server.address().c_str(), k.leds.size());
    std::fflush(stdout);
    size_t seen = 0;
    std::vector<uint8_t> last;
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const auto frames = server.received(OpenRgbPacket::kUpdateLeds);
        for (; seen < frames.size(); ++seen) {
            const auto& payload = frames[seen].payload;
            if (payload == last || payload.size() != 6 + 4 * k.leds.size())
                continue;
            last = payload;
            std::ostringstream line;
            line << "frame " << seen + 1 << ":";
            for (size_t i = 0; i < k.leds.size(); ++i) {
                const uint32_t c = OpenRgbPacket::u32(&payload[6 + 4 * i]);
                line << " [" << k.leds[i].substr(k.leds[i].find(' ') + 1) << "]=" << (c & 0xFF)
                     << ',' << (c >> 8 & 0xFF) << ',' << (c >> 16 & 0xFF);
            }
            std::printf("%s\n", line.str().c_str());
            std::fflush(stdout);
        }
    }
}
