#pragma once

#include <cstdint>
#include <string>

namespace vantrel {

// The name a user sees for a virtual-key code; empty when the code has none.
class KeyNames final {
public:
    static std::string keyName(uint32_t vk);
};

} // namespace vantrel
