#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vantrel {

// One INI file, parsed once into an ordered document. Lookups follow the rules
// of the classic private-profile functions (first section and first key of a
// name, ASCII case ignored, blanks trimmed), so files written on the original
// platform read the same here. Writes change the document and keep every other
// line as it was; save() puts the whole document on disk at once.
class IniFile final {
public:
    static constexpr size_t kMaxValueLength = 2047;

    // Reads the file: UTF-8 with or without a byte-order mark, or UTF-16LE with
    // its mark; "\r\n", "\n" or CR-only line ends. A missing file gives an empty
    // document; one that cannot be read whole gives what was read, and save()
    // then refuses to replace it.
    explicit IniFile(std::string path);

    const std::string& path() const { return m_path; }

    std::string readText(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
    int32_t readInt(std::string_view section, std::string_view key, int32_t defaultValue) const;
    // Leaves the buffer untouched unless the value is exactly 2 * size + 2 hex
    // digits with a matching checksum.
    bool readBlob(std::string_view section, std::string_view key, void* buffer, size_t size) const;

    void writeText(std::string_view section, std::string_view key, std::string_view value);
    void writeInt(std::string_view section, std::string_view key, int32_t value);
    void writeBlob(std::string_view section, std::string_view key, const void* buffer, size_t size);

    // Starts a new document in place of the file's, so that the next save
    // writes only what is written after this; the file on disk stays whole
    // until then.
    void clear();

    // Whether save() flushes the folder itself, or leaves it to the caller
    // (syncFolderOf) so that several saves into one folder share one flush.
    enum class FolderSync { Now, ByCaller };

    // Puts the document on disk durably, in UTF-8 without a mark and in the
    // file's line-end style: an unnamed file in the target's folder (a named
    // "<file>.saving" where the file system has none), written, flushed,
    // linked or renamed over the target, then the folder flushed. Missing
    // folders are made first. A crash or power cut leaves the old file or the
    // new one, never half of one; a "<file>.saving" an interrupted save left
    // is removed. A file that already holds the document is left as it is.
    // False, with the file untouched, when the file could not be read whole or
    // the new one could not be written. Files shared with the monitor are
    // saved under their FileLock.
    bool save(FolderSync folderSync = FolderSync::Now) const;
    // Flushes the folder of path, for saves made with FolderSync::ByCaller.
    static bool syncFolderOf(const std::string& path);

    static std::string encodeBlob(const void* buffer, size_t size);
    static bool decodeBlob(std::string_view text, void* buffer, size_t size);
    // Optional sign and decimal digits up to the first other character, wrapped
    // to 32 bits; no digits give 0.
    static int32_t parseInt(std::string_view text);

private:
    struct Section {
        std::string header;             // the header line as stored; empty before the first
        std::vector<std::string> lines; // the lines under the header, as stored
        std::unordered_map<std::string, size_t> keys; // lower-case key -> its first line
    };

    void parse(std::string_view content);
    std::string serialise() const;
    const std::string* findLine(std::string_view section, std::string_view key) const;
    // Puts a finished "key=value" line in place of the key's line, or adds it.
    void setLine(std::string_view section, std::string_view key, std::string line);

    std::string m_path;
    std::vector<Section> m_sections; // m_sections[0] holds the lines before any header
    std::unordered_map<std::string, size_t> m_sectionIndex; // lower-case name -> first section
    std::string_view m_eol = "\r\n";
    bool m_replaceable = true;             // the file was read whole or did not exist
    std::optional<std::string> m_original; // the bytes of a file read whole
};

} // namespace vantrel
