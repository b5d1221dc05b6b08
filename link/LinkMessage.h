#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace vantrel {

// Message numbers between the program and the monitor.
inline constexpr uint32_t kMsgApplied = 1224;         // program -> monitor, wParam 1 or 3
inline constexpr uint32_t kMsgFirmwareChanged = 1254; // monitor -> program
inline constexpr uint32_t kMsgBlockChanged = 1255;
inline constexpr uint32_t kMsgApplyFinished = 1256;
inline constexpr uint32_t kMsgDeviceChanged = 1257;
inline constexpr uint32_t kMsgIgnored = 1258;

inline constexpr uint32_t kApplyCode = 1;       // OK or Apply
inline constexpr uint32_t kApplyAfterReset = 3; // after a confirmed reset

// One message as it crosses the socket: 24 bytes, little-endian.
struct LinkMessage {
    static constexpr size_t kSize = 24;

    uint32_t message = 0;
    uint64_t wParam = 0;
    int64_t lParam = 0;

    std::array<unsigned char, kSize> encode() const;
    static std::optional<LinkMessage> decode(const unsigned char* bytes, size_t size);
};

} // namespace vantrel
