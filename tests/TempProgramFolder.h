#pragma once

#include "tests/TempDir.h"

#include <filesystem>

namespace vantrel::test {

// A program folder of its own for a test, with the built skin and texts.
class TempProgramFolder final : public TempDir {
public:
    TempProgramFolder() {
        std::filesystem::create_directory_symlink(VANTREL_PROGRAM_DIR "/skins", file("skins"));
        std::filesystem::copy_file(VANTREL_PROGRAM_DIR "/lan.ini", file("lan.ini"));
    }
};

} // namespace vantrel::test
