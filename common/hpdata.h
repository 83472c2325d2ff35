// hpData: the file and text routines every window uses.
//
// The scrambled text list is the container of every settings, state and user file but the
// plain-text listings: each byte of the file is the plain byte XOR 0xB7, and the plain content
// is "NeWe" CR, the body length L in decimal CR, then L characters holding the lines, each
// followed by CR LF. Text here is std::string with one character per byte (codes 0-255); the
// Qt adapters (hpdata_qt.h) convert from and to QString by keeping the low 8 bits of each
// character.
//
// No routine here shows a message or throws: failure is reported by the result only, and a
// failed load leaves its output untouched.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orrindale {

using TextList = std::vector<std::string>;

inline constexpr unsigned char kScrambleKey = 0xB7;

// The largest file a reader takes into memory. Every file of the system is far smaller; the
// limit keeps a hostile or mistaken file (a disk image renamed to .mcf) from exhausting memory.
inline constexpr std::size_t kMaxDataFileBytes = 64u << 20;

// XOR every byte with the key; the same call scrambles and unscrambles.
void ScrambleBytes(std::string& bytes);

// The one way a file from outside is read: a regular file whole, or a symbolic link to one
// (no devices, pipes or folders, which could block, never end or read as nothing). Fails on a
// missing file, a read error or a file above maxBytes, which is refused before any byte is
// read; every reader passes the most its format can hold.
bool ReadWholeFile(const std::string& path, std::string& bytes,
                   std::size_t maxBytes = kMaxDataFileBytes);
// Why ReadWholeFile fails on path, in the system's words where it has them ("No such file or
// directory", "Permission denied"); empty when the file can be read, so that a reader that
// refused it found its contents at fault. It looks again after the failure, as ReadWholeFile
// looks: nothing but a regular file is opened.
std::string UnreadableReason(const std::string& path, std::size_t maxBytes = kMaxDataFileBytes);

// ---- Scrambled text list --------------------------------------------------------------------

// What a reader of a scrambled text list accepts. A file beyond either bound is damaged: a file
// of nothing but line ends would otherwise cost a string per byte (64 MB of them take
// gigabytes). Each file passes the bounds of what it can really hold; the defaults only keep
// any list, however read, within memory.
inline constexpr std::size_t kMaxTextListLines = 1u << 16;
struct TextListLimits {
    std::size_t MaxBytes = kMaxDataFileBytes; // the whole file, header included
    std::size_t MaxLines = kMaxTextListLines;
};
// A settings file of a few keyed lines.
inline constexpr TextListLimits kSettingsListLimits{64u << 10, 1000};

// Reads one scrambled line from bytes at position (advanced past the line and its CR). A line
// is complete only with its CR: a line cut off by the end fails, and reading at the very end
// yields an empty line and succeeds.
bool ReadScrambledLine(std::string_view bytes, std::size_t& position, std::string& text);

// Decodes a whole scrambled text list held in memory. A body of more than maxLines lines fails.
// On failure the list is left as it was.
bool ParseScrambledTextList(std::string_view bytes, TextList& list,
                            std::size_t maxLines = kMaxTextListLines);
// The file bytes for a list (already scrambled).
std::string FormatScrambledTextList(const TextList& list);

// Loads the file at path. Returns false for a missing or unreadable file, a bad header, a body
// shorter than its length line, an empty body or a file beyond the limits (a file larger than
// MaxBytes is refused before it is read); the list is then left as it was.
bool LoadScrambledTextList(const std::string& path, TextList& list,
                           const TextListLimits& limits = {});
// Replaces the file at path atomically; false when the write failed (the old file is intact).
bool SaveScrambledTextList(const std::string& path, const TextList& list);
// True for a file holding a list of no lines, which LoadScrambledTextList takes for damaged
// but SaveScrambledTextList writes for an empty list (the paper roll after Discard).
bool IsEmptyScrambledTextList(const std::string& path);

// Splits text into lines at CR LF, CR or LF; a final line end adds no empty line.
TextList SplitLines(std::string_view text);

// ---- Field lists, keys and small formats ----------------------------------------------------

// Field n (from 0) of a "~"-terminated field list; empty when there are fewer than n + 1 "~".
std::string GetTildeField(std::string_view text, int n);
// The file name without its folder, cut before its first ".": "/x/a.b.mcf" gives "a".
std::string FileTitle(std::string_view path);
// True when no character of chars occurs in text.
bool HasNoneOf(std::string_view text, std::string_view chars);
// Decimal text of value with fill put in front until it is at least width long.
std::string PadIntLeft(long long value, int width, char fill);
std::string ZeroPad(long long value, int width);
// Tabs become spaces, other characters outside 32-126 are dropped; all-space gives empty.
std::string CleanText(std::string_view text);
// Octal digits 0-7 only; an empty text gives 0; anything else, or a value beyond int, gives
// fallback.
int ParseOctal(std::string_view text, int fallback);
int CountChar(char c, std::string_view text);
// The three-digit key of a settings line: "007" for 7.
std::string LineKey(int key);
// The first three characters of line as a key 0-999, or -1 when they are not three decimal
// digits. With remove set, a valid key is cut from the line; an invalid one leaves it whole.
int TakeLineKey(std::string& line, bool remove);
// Octal digits of value (none for 0) with "0" in front until at least width long. Negative
// values have no octal form here and give the zeros alone.
std::string IntToOctal(int value, int width);
// "dd/mm/yyyy".
std::string DateText(std::chrono::year_month_day date);
int HexDigitValue(char c);
char HexDigitUpper(int value);
char HexDigitLower(int value);

// Strict decimal integer: optional sign, then digits only, within int.
bool ParseDecimal(std::string_view text, int& value);
// A saved boolean: any integer (nonzero is true) or True/False in any letter case.
bool ParseBoolean(std::string_view text, bool& value);
inline const char* BooleanText(bool value) {
    return value ? "-1" : "0";
}

// ---- Main window bounds ---------------------------------------------------------------------

// The main window's edges, for placing the other windows beside it. One object is shared by
// the main window and the peripheral windows (who fill it after they are dragged).
struct MainBounds {
    int Left = 0;
    int Right = 0;
    int Top = 0;

    void SetMainBounds(int left, int width, int top);
};

} // namespace orrindale
