// A skin description file of any content: every lookup a window makes works.
#include "fuzz/FuzzFile.h"
#include "skin/SkinDescription.h"

#include <string>

using namespace vantrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::FuzzFile input;
    input.fill(data, size);
    const std::string& path = input.path();
    const size_t slash = path.rfind('/');
    const SkinDescription skin(path.substr(0, slash + 1), path.substr(slash + 1));

    for (const char* key : {"Normal", "Mask", "Over", "Down", "Disable"})
        skin.picturePath(key);
    for (int key = 0; key < 64; ++key)
        skin.buttonPlacement(key);
    for (int key = 0; key < 4; ++key)
        skin.placement("PAGEPOSITION", std::to_string(key));
    skin.readInt("SCREEN", "Width", 0);
    return 0;
}
