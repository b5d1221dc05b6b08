#pragma once

#include "settings/SharedBlock.h"

#include <string>

namespace vantrel {

// The shared block file mapped into this process.
class SharedBlockMapping final {
public:
    enum class OpenResult { Mapped, Absent, CannotMap };

    SharedBlockMapping() = default;
    ~SharedBlockMapping();
    SharedBlockMapping(const SharedBlockMapping&) = delete;
    SharedBlockMapping& operator=(const SharedBlockMapping&) = delete;

    // Absent when there is no such file or it belongs to somebody else;
    // CannotMap when it is shorter than the block or mmap fails.
    OpenResult open(const std::string& path);
    // Writes a new block file with this content under a temporary name and
    // renames it into place, so an opener never sees half a block; then maps it.
    bool create(const std::string& path, const SharedBlock& content);
    void close();

    bool mapped() const { return m_block != nullptr; }
    SharedBlock* block() const { return m_block; }

private:
    SharedBlock* m_block = nullptr;
};

} // namespace vantrel
