#include "settings/IniFile.h"

#include "settings/TextField.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace vantrel {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string lowered(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

// The name of a "[name]" header line, or nothing when the line is not one.
bool headerName(std::string_view line, std::string_view& name) {
    const std::string_view t = trimmed(line);
    if (t.empty() || t.front() != '[')
        return false;
    const size_t close = t.rfind(']');
    if (close == std::string_view::npos)
        return false;
    name = trimmed(t.substr(1, close - 1));
    return true;
}

// The key name of a "key=value" line; comments, blanks and lines without '='
// have none.
bool keyName(std::string_view line, std::string_view& name) {
    const std::string_view t = trimmed(line);
    if (t.empty() || t.front() == ';')
        return false;
    const size_t eq = t.find('=');
    if (eq == std::string_view::npos)
        return false;
    name = trimmed(t.substr(0, eq));
    return true;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// What reading found: no file, the whole of it, or a file that exists but
// could not be read to its end (no permission, not a regular file, an error
// part-way).
enum class ReadResult { Missing, Whole, Failed };

ReadResult readWholeFile(const std::string& path, std::string& content) {
    // Non-blocking, so that a FIFO of that name cannot hang the reader.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? ReadResult::Missing : ReadResult::Failed;
    struct stat st {};
    ReadResult result = ReadResult::Failed;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        content.reserve(static_cast<size_t>(st.st_size));
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                result = n == 0 ? ReadResult::Whole : ReadResult::Failed;
                break;
            }
            content.append(buffer, static_cast<size_t>(n));
        }
    }
    ::close(fd);
    return result;
}

void appendUtf8(std::string& out, uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// UTF-16LE (after its mark) as UTF-8; a lone surrogate becomes U+FFFD and an
// odd last byte is dropped.
std::string utf8FromUtf16le(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    const auto unit = [&](size_t i) {
        return static_cast<uint32_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    };
    const size_t units = bytes.size() / 2;
    for (size_t i = 0; i < units; ++i) {
        uint32_t c = unit(i);
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units && unit(i + 1) >= 0xDC00 &&
            unit(i + 1) < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        appendUtf8(out, c);
    }
    return out;
}

// Files re-saved on the original platform may carry a byte-order mark, or be
// UTF-16LE with one; the document is UTF-8 either way: a UTF-8 mark is
// skipped, UTF-16LE is converted into scratch, anything else is read as it is.
std::string_view decodedText(std::string_view content, std::string& scratch) {
    constexpr std::string_view utf8Mark = "\xEF\xBB\xBF";
    constexpr std::string_view utf16leMark = "\xFF\xFE";
    if (content.starts_with(utf8Mark))
        return content.substr(utf8Mark.size());
    if (content.starts_with(utf16leMark)) {
        scratch = utf8FromUtf16le(content.substr(utf16leMark.size()));
        return scratch;
    }
    return content;
}

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

} // namespace

IniFile::IniFile(std::string path) : m_path(std::move(path)) {
    m_sections.emplace_back();
    std::string content;
    const ReadResult read = readWholeFile(m_path, content);
    // Saving what little was read of a file would lose the rest of it.
    m_replaceable = read != ReadResult::Failed;
    std::string scratch;
    parse(decodedText(content, scratch));
    if (read == ReadResult::Whole)
        m_original = std::move(content);
}

void IniFile::parse(std::string_view content) {
    // Lines end in "\r\n" or "\n"; a file with neither but with '\r' has
    // CR-only line ends. Writing keeps the style.
    char lineEnd = '\n';
    if (content.empty() || content.find("\r\n") != std::string_view::npos) {
        m_eol = "\r\n";
    } else if (content.find('\n') == std::string_view::npos &&
               content.find('\r') != std::string_view::npos) {
        m_eol = "\r";
        lineEnd = '\r';
    } else {
        m_eol = "\n";
    }
    Section* current = &m_sections.front();
    while (!content.empty()) {
        size_t end = content.find(lineEnd);
        std::string_view line = content.substr(0, end);
        content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);

        std::string_view name;
        if (headerName(line, name)) {
            m_sectionIndex.try_emplace(lowered(name), m_sections.size());
            current = &m_sections.emplace_back();
            current->header = std::string(line);
            continue;
        }
        if (current != &m_sections.front() && keyName(line, name))
            current->keys.try_emplace(lowered(name), current->lines.size());
        current->lines.emplace_back(line);
    }
}

const std::string* IniFile::findLine(std::string_view section, std::string_view key) const {
    const auto s = m_sectionIndex.find(lowered(trimmed(section)));
    if (s == m_sectionIndex.end())
        return nullptr;
    const Section& sec = m_sections[s->second];
    const auto k = sec.keys.find(lowered(trimmed(key)));
    return k == sec.keys.end() ? nullptr : &sec.lines[k->second];
}

std::string IniFile::readText(std::string_view section, std::string_view key,
                              std::string_view defaultValue) const {
    const std::string* line = findLine(section, key);
    std::string_view value = defaultValue;
    if (line) {
        const std::string_view t = trimmed(*line);
        value = trimmed(t.substr(t.find('=') + 1));
        if (value.size() >= 2 && (value.front() == '\'' || value.front() == '"') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
    }
    return std::string(value.substr(0, kMaxValueLength));
}

int32_t IniFile::readInt(std::string_view section, std::string_view key,
                         int32_t defaultValue) const {
    const std::string text = readText(section, key, {});
    return text.empty() ? defaultValue : parseInt(text);
}

int32_t IniFile::parseInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10u + static_cast<uint32_t>(text[i] - '0');
    if (negative)
        value = 0u - value;
    return static_cast<int32_t>(value);
}

bool IniFile::readBlob(std::string_view section, std::string_view key, void* buffer,
                       size_t size) const {
    const std::string* line = findLine(section, key);
    if (!line)
        return false;
    const std::string_view t = trimmed(*line);
    return decodeBlob(trimmed(t.substr(t.find('=') + 1)), buffer, size);
}

bool IniFile::decodeBlob(std::string_view text, void* buffer, size_t size) {
    if (text.size() != 2 * size + 2)
        return false;
    // Decode into a scratch copy first: a bad digit or checksum must leave the
    // target as it was.
    std::string bytes(size, '\0');
    unsigned sum = 0;
    for (size_t i = 0; i <= size; ++i) {
        const int hi = hexValue(text[2 * i]);
        const int lo = hexValue(text[2 * i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        const unsigned byte = static_cast<unsigned>(hi * 16 + lo);
        if (i < size) {
            bytes[i] = static_cast<char>(byte);
            sum += byte;
        } else if ((sum & 0xFFu) != byte) {
            return false;
        }
    }
    std::memcpy(buffer, bytes.data(), size);
    return true;
}

namespace {

// Two upper-case hex digits for every byte value, so encoding writes a pair at a time.
struct HexPairs {
    char pairs[256][2];
    constexpr HexPairs() : pairs() {
        constexpr char digits[] = "0123456789ABCDEF";
        for (int i = 0; i < 256; ++i) {
            pairs[i][0] = digits[i >> 4];
            pairs[i][1] = digits[i & 0x0F];
        }
    }
};
constexpr HexPairs kHex;

void appendBlob(std::string& out, const void* buffer, size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    const size_t start = out.size();
    out.resize(start + 2 * size + 2);
    char* p = out.data() + start;
    unsigned sum = 0;
    for (size_t i = 0; i < size; ++i, p += 2) {
        std::memcpy(p, kHex.pairs[bytes[i]], 2);
        sum += bytes[i];
    }
    std::memcpy(p, kHex.pairs[sum & 0xFFu], 2);
}

} // namespace

std::string IniFile::encodeBlob(const void* buffer, size_t size) {
    std::string out;
    appendBlob(out, buffer, size);
    return out;
}

void IniFile::setLine(std::string_view section, std::string_view key, std::string line) {
    auto [s, newSection] = m_sectionIndex.try_emplace(lowered(section), m_sections.size());
    if (newSection) {
        Section& sec = m_sections.emplace_back();
        sec.header.reserve(section.size() + 2);
        sec.header.append("[").append(section).append("]");
    }
    Section& sec = m_sections[s->second];

    auto [k, newKey] = sec.keys.try_emplace(lowered(key), 0);
    if (!newKey) {
        sec.lines[k->second] = std::move(line);
        return;
    }
    // A new key goes after the last non-blank line of its section.
    size_t at = sec.lines.size();
    while (at > 0 && trimmed(sec.lines[at - 1]).empty())
        --at;
    sec.lines.insert(sec.lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    k->second = at;
}

namespace {

std::string keyLine(std::string_view key, size_t valueSize) {
    std::string line;
    line.reserve(key.size() + 1 + valueSize);
    line.append(key).append("=");
    return line;
}

} // namespace

void IniFile::writeText(std::string_view section, std::string_view key, std::string_view value) {
    // A line break inside a value would turn the rest of it into lines of its own.
    value = value.substr(0, std::min(value.find('\r'), value.find('\n')));
    key = trimmed(key);
    std::string line = keyLine(key, value.size());
    line.append(value);
    setLine(trimmed(section), key, std::move(line));
}

void IniFile::writeInt(std::string_view section, std::string_view key, int32_t value) {
    writeText(section, key, std::to_string(value));
}

void IniFile::writeBlob(std::string_view section, std::string_view key, const void* buffer,
                        size_t size) {
    key = trimmed(key);
    std::string line = keyLine(key, 2 * size + 2);
    appendBlob(line, buffer, size);
    setLine(trimmed(section), key, std::move(line));
}

void IniFile::clear() {
    m_sections.clear();
    m_sections.emplace_back();
    m_sectionIndex.clear();
    m_eol = "\r\n"; // as for any new file
}

std::string IniFile::serialise() const {
    const std::string_view eol = m_eol;
    size_t total = 0;
    for (const Section& sec : m_sections) {
        total += sec.header.size() + eol.size();
        for (const std::string& line : sec.lines)
            total += line.size() + eol.size();
    }
    std::string out;
    out.reserve(total);
    for (const Section& sec : m_sections) {
        if (&sec != &m_sections.front())
            out.append(sec.header).append(eol);
        for (const std::string& line : sec.lines)
            out.append(line).append(eol);
    }
    return out;
}

namespace {

// The temporary name of a save: "<name>.saving". Every save of a file shared
// with the monitor runs under the file's lock, so a file of that name is what
// an interrupted save left, never one in use.
constexpr std::string_view kTempSuffix = ".saving";

bool syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

bool writeAndFlush(int fd, mode_t mode, std::string_view content) {
    return ::fchmod(fd, mode) == 0 && writeAll(fd, content) && ::fsync(fd) == 0;
}

enum class Written { AsTarget, AsTemp, Failed };

// Writes into an unnamed file, so that nothing is left behind however the
// process ends, then names it: a new file straight as the target, an old one's
// replacement as the temporary to be renamed over it.
Written writeUnnamed(const std::string& folder, const std::string& target, bool targetExists,
                     const std::string& temp, mode_t mode, std::string_view content) {
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0)
        return Written::Failed;
    Written written = Written::Failed;
    if (writeAndFlush(fd, mode, content)) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        if (!targetExists &&
            ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) == 0)
            written = Written::AsTarget;
        else if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) == 0)
            written = Written::AsTemp;
    }
    ::close(fd);
    return written;
}

// For file systems without unnamed files.
Written writeNamed(const std::string& temp, mode_t mode, std::string_view content) {
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return Written::Failed;
    const bool ok = writeAndFlush(fd, mode, content);
    if (::close(fd) != 0 || !ok) {
        ::unlink(temp.c_str());
        return Written::Failed;
    }
    return Written::AsTemp;
}

} // namespace

bool IniFile::save(FolderSync folderSync) const {
    if (!m_replaceable)
        return false;
    const std::string content = serialise();
    // Nothing to write when the file already holds exactly this.
    if (m_original && *m_original == content)
        return true;
    namespace fs = std::filesystem;
    const fs::path target(m_path);
    const std::string folder = target.has_parent_path() ? target.parent_path().string() : ".";
    std::error_code ec;
    fs::create_directories(folder, ec);

    struct stat st {};
    const bool exists = ::stat(m_path.c_str(), &st) == 0;
    const mode_t mode = exists ? (st.st_mode & 07777) : 0644;
    const std::string temp = m_path + std::string(kTempSuffix);
    ::unlink(temp.c_str()); // what an interrupted save left

    Written written = writeUnnamed(folder, m_path, exists, temp, mode, content);
    if (written == Written::Failed)
        written = writeNamed(temp, mode, content);
    if (written == Written::Failed)
        return false;
    if (written == Written::AsTemp && ::rename(temp.c_str(), m_path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return folderSync == FolderSync::ByCaller || syncFolder(folder);
}

bool IniFile::syncFolderOf(const std::string& path) {
    const std::filesystem::path target(path);
    return syncFolder(target.has_parent_path() ? target.parent_path().string() : ".");
}

} // namespace vantrel
