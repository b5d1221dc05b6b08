// The OpenRGB controller description, as a server of any protocol version may
// send it: the first byte picks the version, the rest is the reply. Whatever
// comes, the reader refuses it or reads it within its bounds.
#include "monitor/lighting/ControllerDescription.h"

using namespace vantrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 0)
        ControllerDescription::parse({data + 1, size - 1}, data[0] % 7);
    return 0;
}
