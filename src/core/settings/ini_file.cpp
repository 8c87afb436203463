#include "core/settings/ini_file.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "core/error.h"
#include "core/settings/file_locations.h"
#include "core/settings/whole_file.h"

namespace plumwit {
namespace {

constexpr std::size_t kMaxValueLength = 2047;
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
// A portable copy's settings lie beside the program and are shared by every
// user of it; a user's own lie in a folder only that user can enter.
constexpr mode_t kNewFileMode = 0644;

using Lines = std::vector<std::string>;

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

// Both CR LF and bare LF end a line, so hand-edited files read the same.
// Editors that add a byte-order mark to a file that already has one leave a
// run of them; all of them together are the one mark, so none ends up in the
// first line's name.
Lines SplitLines(std::string_view bytes) {
  while (bytes.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) {
    bytes.remove_prefix(kUtf8ByteOrderMark.size());
  }
  Lines lines;
  while (!bytes.empty()) {
    const auto end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
  }
  return lines;
}

std::string JoinLines(const Lines& lines) {
  std::string bytes;
  for (const auto& line : lines) {
    bytes += line;
    bytes += kLineEnd;
  }
  return bytes;
}

std::optional<std::string_view> SectionNameOf(std::string_view line) {
  const std::string_view text = Trim(line);
  if (text.empty() || text.front() != '[') return std::nullopt;
  return Trim(text.substr(1, text.find(']') - 1));
}

std::optional<std::string_view> KeyNameOf(std::string_view line) {
  const auto equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(0, equals));
}

struct KeyLocation {
  std::optional<std::size_t> section;  // the section's header line
  std::optional<std::size_t> key;      // the key's line
  std::size_t new_key_line = 0;        // where a new key of the section goes
};

// The first matching section and, within it, the first matching key: what
// later duplicates say is never seen.
KeyLocation Locate(const Lines& lines, std::string_view section, std::string_view key) {
  KeyLocation location;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto section_name = SectionNameOf(lines[i]);
    if (location.section) {
      if (section_name) break;
      if (!location.key) {
        const auto key_name = KeyNameOf(lines[i]);
        if (key_name && EqualsIgnoringCase(*key_name, key)) location.key = i;
      }
      // Blank lines that separate this section from the next stay after it.
      if (!Trim(lines[i]).empty()) location.new_key_line = i + 1;
    } else if (section_name && EqualsIgnoringCase(*section_name, section)) {
      location.section = i;
      location.new_key_line = i + 1;
    }
  }
  return location;
}

std::string_view WithoutEnclosingQuotes(std::string_view text) {
  if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
      text.back() == text.front()) {
    return text.substr(1, text.size() - 2);
  }
  return text;
}

bool IsUtf8ContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Cuts to the length limit without splitting a UTF-8 sequence.
std::string_view CutToValueLimit(std::string_view text) {
  if (text.size() <= kMaxValueLength) return text;
  std::size_t end = kMaxValueLength;
  while (end > 0 && IsUtf8ContinuationByte(text[end])) --end;
  return text.substr(0, end);
}

std::string ValueOf(std::string_view line) {
  const std::string_view raw = line.substr(line.find('=') + 1);
  return std::string(CutToValueLimit(WithoutEnclosingQuotes(Trim(raw))));
}

std::optional<long long> ParseDecimal(std::string_view text) {
  // from_chars takes a minus sign but no plus sign; a plus sign must be
  // followed by a digit, not by a second sign.
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
  }
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<long long> ParseHexadecimal(std::string_view digits) {
  std::uint32_t value = 0;
  const auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

std::optional<long long> ParseInteger(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    return ParseHexadecimal(text.substr(2));
  }
  return ParseDecimal(text);
}

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

// Names and values that would read back as something else, or split the line,
// are refused rather than written.
bool CanBeWritten(std::string_view section, std::string_view key, std::string_view value) {
  const std::string_view section_name = Trim(section);
  const std::string_view key_name = Trim(key);
  return !section_name.empty() && !key_name.empty() && !HasLineBreak(section) &&
         !HasLineBreak(key) && !HasLineBreak(value) &&
         section_name.find(']') == std::string_view::npos &&
         key_name.find('=') == std::string_view::npos && key_name.front() != '[';
}

void SetKey(Lines& lines, std::string_view section, std::string_view key, std::string_view value) {
  const KeyLocation location = Locate(lines, section, key);
  if (location.key) {
    std::string& line = lines[*location.key];
    line = std::string(*KeyNameOf(line)) + "=" + std::string(value);
  } else if (location.section) {
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(location.new_key_line),
                 std::string(key) + "=" + std::string(value));
  } else {
    lines.push_back("[" + std::string(section) + "]");
    lines.push_back(std::string(key) + "=" + std::string(value));
  }
}

}  // namespace

std::string SettingsFilePath() { return SettingsFileLocation(ProgramFolder(), UserConfigFolder()); }

IniFile::IniFile(std::string path, MissingFolder missing_folder)
    : path_(std::move(path)), missing_folder_(missing_folder) {}

bool IniFile::PrepareFolder() const {
  if (missing_folder_ != MissingFolder::kCreatePrivate) return true;
  const auto slash = path_.rfind('/');
  if (slash == std::string::npos || slash == 0) return true;
  return CreatePrivateFolders(path_.substr(0, slash + 1));
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& fallback) const {
  const FileReadResult file = ReadWholeFile(path_);
  if (file.status != FileReadStatus::kRead) return fallback;
  const Lines lines = SplitLines(file.bytes);
  const KeyLocation location = Locate(lines, Trim(section), Trim(key));
  if (!location.key) return fallback;
  return ValueOf(lines[*location.key]);
}

void IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) {
  const Error refused("Unable to write to " + path_);
  if (!CanBeWritten(section, key, value)) throw refused;
  FileReadResult file = ReadWholeFile(path_);
  if (file.status != FileReadStatus::kRead && file.status != FileReadStatus::kMissing) {
    throw refused;
  }
  Lines lines = SplitLines(file.bytes);
  SetKey(lines, Trim(section), Trim(key), value);
  if (!PrepareFolder()) throw refused;
  if (!ReplaceWholeFile(path_, JoinLines(lines), kNewFileMode, ExistingMode::kKeep)) throw refused;
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool fallback) const {
  const auto number = ParseInteger(ReadString(section, key, ""));
  return number ? *number != 0 : fallback;
}

void IniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

}  // namespace plumwit
