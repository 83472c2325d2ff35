#include "common/hpdata.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "common/atomicfile.h"

namespace orrindale {

namespace {

constexpr char kCR = '\r';
constexpr char kLF = '\n';

char Unscramble(char c) {
    return static_cast<char>(static_cast<unsigned char>(c) ^ kScrambleKey);
}

class FileHandle {
public:
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

} // namespace

void ScrambleBytes(std::string& bytes) {
    for (char& c : bytes)
        c = Unscramble(c);
}

namespace {

bool RegularWithin(const struct stat& st, std::size_t maxBytes) {
    return S_ISREG(st.st_mode) && st.st_size >= 0 &&
           static_cast<unsigned long long>(st.st_size) <= maxBytes;
}

} // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes, std::size_t maxBytes) {
    // Looked at before it is opened: opening a device can act on it (a tape rewinds, a modem
    // line rises). O_NONBLOCK: a FIFO put in its place meanwhile must not wait for a writer.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !RegularWithin(st, maxBytes)) return false;
    FileHandle file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0) return false;
    if (::fstat(file.get(), &st) != 0 || !RegularWithin(st, maxBytes)) return false;
    std::string data;
    data.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(file.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;
        // The file may grow while it is read; the limit still holds.
        if (data.size() + static_cast<std::size_t>(n) > maxBytes) return false;
        data.append(buffer, static_cast<std::size_t>(n));
    }
    bytes = std::move(data);
    return true;
}

std::string UnreadableReason(const std::string& path, std::size_t maxBytes) {
    auto system = [](int error) { return std::generic_category().message(error); };
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return system(errno);
    if (S_ISDIR(st.st_mode)) return system(EISDIR);
    if (!S_ISREG(st.st_mode)) return "not a regular file";
    if (!RegularWithin(st, maxBytes)) return "too large: " + std::to_string(st.st_size) + " bytes";
    const FileHandle file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0) return system(errno);
    char byte;
    ssize_t n;
    while ((n = ::read(file.get(), &byte, 1)) < 0 && errno == EINTR) {
    }
    if (n < 0) return system(errno);
    return {};
}

// ---- Scrambled text list --------------------------------------------------------------------

bool ReadScrambledLine(std::string_view bytes, std::size_t& position, std::string& text) {
    text.clear();
    for (;;) {
        if (position >= bytes.size()) return text.empty();
        const char c = Unscramble(bytes[position]);
        ++position;
        if (c == kCR) return true;
        text.push_back(c);
    }
}

namespace {

// SplitLines that gives up (false) on the line after maxLines, before storing it.
bool SplitLinesUpTo(std::string_view text, std::size_t maxLines, TextList& lines) {
    lines.clear();
    std::size_t i = 0;
    while (i < text.size()) {
        if (lines.size() == maxLines) return false;
        const std::size_t start = i;
        while (i < text.size() && text[i] != kCR && text[i] != kLF)
            ++i;
        lines.emplace_back(text.substr(start, i - start));
        if (i < text.size() && text[i] == kCR) ++i;
        if (i < text.size() && text[i] == kLF) ++i;
    }
    return true;
}

} // namespace

TextList SplitLines(std::string_view text) {
    TextList lines;
    SplitLinesUpTo(text, SIZE_MAX, lines);
    return lines;
}

bool ParseScrambledTextList(std::string_view bytes, TextList& list, std::size_t maxLines) {
    std::size_t position = 0;
    std::string header, lengthText;
    if (!ReadScrambledLine(bytes, position, header)) return false;
    if (!ReadScrambledLine(bytes, position, lengthText)) return false;
    int length = 0;
    if (!ParseDecimal(lengthText, length)) length = 0;
    if (length <= 0) return false;
    const auto bodyLength = static_cast<std::size_t>(length);
    if (bytes.size() - position < bodyLength) return false;
    std::string body(bytes.substr(position, bodyLength));
    ScrambleBytes(body);
    TextList lines;
    if (!SplitLinesUpTo(body, maxLines, lines) || lines.empty()) return false;
    list = std::move(lines);
    return true;
}

std::string FormatScrambledTextList(const TextList& list) {
    std::string body;
    for (const auto& line : list) {
        body += line;
        body += "\r\n";
    }
    std::string content = "NeWe\r" + std::to_string(body.size()) + "\r" + body;
    ScrambleBytes(content);
    return content;
}

bool LoadScrambledTextList(const std::string& path, TextList& list, const TextListLimits& limits) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes, limits.MaxBytes)) return false;
    return ParseScrambledTextList(bytes, list, limits.MaxLines);
}

bool SaveScrambledTextList(const std::string& path, const TextList& list) {
    return WriteFileAtomically(path, FormatScrambledTextList(list));
}

bool IsEmptyScrambledTextList(const std::string& path) {
    const std::string empty = FormatScrambledTextList({});
    std::string bytes;
    return ReadWholeFile(path, bytes, empty.size()) && bytes == empty;
}

// ---- Field lists, keys and small formats ----------------------------------------------------

std::string GetTildeField(std::string_view text, int n) {
    if (n < 0) return {};
    std::size_t start = 0;
    for (int i = 0; i < n; ++i) {
        const auto tilde = text.find('~', start);
        if (tilde == std::string_view::npos) return {};
        start = tilde + 1;
    }
    const auto end = text.find('~', start);
    if (end == std::string_view::npos) return {};
    return std::string(text.substr(start, end - start));
}

std::string FileTitle(std::string_view path) {
    const auto slash = path.find_last_of('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return std::string(name.substr(0, name.find('.')));
}

bool HasNoneOf(std::string_view text, std::string_view chars) {
    return text.find_first_of(chars) == std::string_view::npos;
}

std::string PadIntLeft(long long value, int width, char fill) {
    std::string text = std::to_string(value);
    if (width > 0 && text.size() < static_cast<std::size_t>(width))
        text.insert(0, static_cast<std::size_t>(width) - text.size(), fill);
    return text;
}

std::string ZeroPad(long long value, int width) {
    return PadIntLeft(value, width, '0');
}

std::string CleanText(std::string_view text) {
    std::string out;
    bool onlySpaces = true;
    for (char c : text) {
        if (c == '\t') c = ' ';
        const auto code = static_cast<unsigned char>(c);
        if (code < 32 || code > 126) continue;
        out.push_back(c);
        if (c != ' ') onlySpaces = false;
    }
    return onlySpaces ? std::string() : out;
}

int ParseOctal(std::string_view text, int fallback) {
    // Reading first to last gives the same sum as the powers of eight from the last character,
    // and lets an overflow be caught before it happens.
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '7') return fallback;
        const int digit = c - '0';
        if (value > (INT_MAX - digit) / 8) return fallback;
        value = value * 8 + digit;
    }
    return value;
}

int CountChar(char c, std::string_view text) {
    int count = 0;
    for (char x : text)
        count += (x == c) ? 1 : 0;
    return count;
}

std::string LineKey(int key) {
    return ZeroPad(key, 3);
}

int TakeLineKey(std::string& line, bool remove) {
    if (line.size() < 3) return -1;
    int key = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        if (line[i] < '0' || line[i] > '9') return -1;
        key = key * 10 + (line[i] - '0');
    }
    if (remove) line.erase(0, 3);
    return key;
}

std::string IntToOctal(int value, int width) {
    std::string digits;
    for (unsigned v = value > 0 ? static_cast<unsigned>(value) : 0u; v != 0; v /= 8)
        digits.insert(digits.begin(), static_cast<char>('0' + v % 8));
    if (width > 0 && digits.size() < static_cast<std::size_t>(width))
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    return digits;
}

std::string DateText(std::chrono::year_month_day date) {
    return ZeroPad(static_cast<unsigned>(date.day()), 2) + "/" +
           ZeroPad(static_cast<unsigned>(date.month()), 2) + "/" +
           ZeroPad(static_cast<int>(date.year()), 4);
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

char HexDigitUpper(int value) {
    if (value >= 1 && value <= 9) return static_cast<char>('0' + value);
    if (value >= 10 && value <= 15) return static_cast<char>('A' + value - 10);
    return '0';
}

char HexDigitLower(int value) {
    if (value >= 10 && value <= 15) return static_cast<char>('a' + value - 10);
    return HexDigitUpper(value);
}

bool ParseDecimal(std::string_view text, int& value) {
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return false;
    long long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
        if (v > static_cast<long long>(INT_MAX) + 1) return false;
    }
    if (negative) v = -v;
    if (v > INT_MAX || v < INT_MIN) return false;
    value = static_cast<int>(v);
    return true;
}

bool ParseBoolean(std::string_view text, bool& value) {
    int number = 0;
    if (ParseDecimal(text, number)) {
        value = number != 0;
        return true;
    }
    auto equalsNoCase = [text](std::string_view word) {
        if (text.size() != word.size()) return false;
        for (std::size_t i = 0; i < word.size(); ++i) {
            const char c =
                text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] + 32) : text[i];
            if (c != word[i]) return false;
        }
        return true;
    };
    if (equalsNoCase("true"))
        value = true;
    else if (equalsNoCase("false"))
        value = false;
    else
        return false;
    return true;
}

// ---- Main window bounds ---------------------------------------------------------------------

void MainBounds::SetMainBounds(int left, int width, int top) {
    // Computed wide so that absurd window geometry cannot overflow.
    const long long right = static_cast<long long>(left) + width;
    Left = left;
    Right = static_cast<int>(right > INT_MAX ? INT_MAX : right < INT_MIN ? INT_MIN : right);
    Top = top;
}

} // namespace orrindale
