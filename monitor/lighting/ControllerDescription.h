#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vantrel {

// One RGB controller as an OpenRGB server describes it (the reply to
// REQUEST_CONTROLLER_DATA), for protocol versions 1 to 5.
struct ControllerDescription {
    static constexpr int32_t kKeyboardType = 5;

    struct Mode {
        std::string name;
        int32_t value = 0;
        uint32_t flags = 0, speedMin = 0, speedMax = 0;
        uint32_t brightnessMin = 0, brightnessMax = 0; // version 3 on
        uint32_t coloursMin = 0, coloursMax = 0, speed = 0;
        uint32_t brightness = 0; // version 3 on
        uint32_t direction = 0, colourMode = 0;
        std::vector<uint32_t> colours;
    };
    struct Segment { // version 4 on
        std::string name;
        int32_t type = 0;
        uint32_t start = 0, count = 0;
    };
    struct Zone {
        std::string name;
        int32_t type = 0;
        uint32_t ledsMin = 0, ledsMax = 0, ledsCount = 0;
        uint32_t matrixHeight = 0, matrixWidth = 0;
        std::vector<uint32_t> matrix; // LED index per cell, row by row
        std::vector<Segment> segments;
        uint32_t flags = 0; // version 5 on
    };

    // The payload of the reply: its own size, then the description laid out
    // for the protocol version the request named. None when anything is out
    // of bounds or the sizes disagree.
    static std::optional<ControllerDescription> parse(std::span<const uint8_t> payload,
                                                      uint32_t protocol);

    int32_t type = 0;
    std::string name, vendor, description, version, serial, location;
    int32_t activeMode = 0;
    std::vector<Mode> modes;
    std::vector<Zone> zones;
    std::vector<std::string> ledNames;
    std::vector<uint32_t> ledValues;
    std::vector<uint32_t> colours;        // 0x00BBGGRR, one per LED
    std::vector<std::string> ledAltNames; // version 5 on
    uint32_t flags = 0;                   // version 5 on
};

} // namespace vantrel
