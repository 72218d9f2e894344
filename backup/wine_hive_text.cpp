// Checking Wine's registry text before it is loaded.
#include "backup/wine_hive_text.h"

#include <cstddef>

namespace backup {

namespace {
constexpr std::string_view kHeader = "WINE REGISTRY Version 2";

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Consumes a quoted string with backslash escapes starting at text[pos]; pos
// ends after the closing quote.
bool quoted(std::string_view text, size_t& pos) {
  if (pos >= text.size() || text[pos] != '"') return false;
  for (++pos; pos < text.size(); ++pos) {
    if (text[pos] == '\\') {
      if (++pos >= text.size()) return false;
    } else if (text[pos] == '"') {
      ++pos;
      return true;
    }
  }
  return false;
}

// "[name]" with escapes, optionally followed by a blank and a decimal time.
bool keyHeader(std::string_view line) {
  size_t pos = 1;
  for (; pos < line.size() && line[pos] != ']'; ++pos) {
    if (line[pos] == '\\' && ++pos >= line.size()) return false;
  }
  if (pos >= line.size()) return false;
  std::string_view rest = line.substr(pos + 1);
  if (rest.empty()) return true;
  if (rest[0] != ' ' || rest.size() < 2) return false;
  for (char c : rest.substr(1)) {
    if (!isDigit(c)) return false;
  }
  return true;
}

// "#time=<hex>", "#class=<quoted>", "#link" and the file's "#arch=..." option.
bool attribute(std::string_view line) {
  if (line.starts_with("#time=")) {
    std::string_view hex = line.substr(6);
    if (hex.empty()) return false;
    for (char c : hex) {
      if (!isHex(c)) return false;
    }
    return true;
  }
  if (line.starts_with("#class=")) {
    size_t pos = 7;
    return quoted(line, pos) && pos == line.size();
  }
  return line == "#link" || line.starts_with("#arch=");
}

// Comma-separated pairs of hex digits; a trailing backslash asks for a
// continuation line. Returns false on damage.
bool hexBytes(std::string_view data, bool& continues) {
  continues = false;
  if (!data.empty() && data.back() == '\\') {
    continues = true;
    data.remove_suffix(1);
  }
  size_t pos = 0;
  while (pos < data.size()) {
    if (pos + 2 > data.size() || !isHex(data[pos]) || !isHex(data[pos + 1])) return false;
    pos += 2;
    if (pos == data.size()) break;
    if (data[pos] != ',') return false;
    ++pos;
    // A comma may end the line only before a continuation.
    if (pos == data.size() && !continues) return false;
  }
  return true;
}

// name=data, where name is @ or quoted, and data one of the forms Wine writes.
bool valueLine(std::string_view line, bool& continues) {
  continues = false;
  size_t pos = 0;
  if (line[0] == '@') {
    pos = 1;
  } else if (!quoted(line, pos)) {
    return false;
  }
  if (pos >= line.size() || line[pos] != '=') return false;
  std::string_view data = line.substr(pos + 1);
  if (data.starts_with("\"")) {
    size_t end = 0;
    return quoted(data, end) && end == data.size();
  }
  if (data.starts_with("str(")) {
    size_t close = data.find("):");
    if (close == std::string_view::npos || close == 4) return false;
    for (char c : data.substr(4, close - 4)) {
      if (!isHex(c)) return false;
    }
    size_t end = close + 2;
    return quoted(data, end) && end == data.size();
  }
  if (data.starts_with("dword:")) {
    if (data.size() != 14) return false;
    for (char c : data.substr(6)) {
      if (!isHex(c)) return false;
    }
    return true;
  }
  if (data.starts_with("hex:")) return hexBytes(data.substr(4), continues);
  if (data.starts_with("hex(")) {
    size_t close = data.find("):");
    if (close == std::string_view::npos || close == 4) return false;
    for (char c : data.substr(4, close - 4)) {
      if (!isHex(c)) return false;
    }
    return hexBytes(data.substr(close + 2), continues);
  }
  return false;
}
}  // namespace

bool isWellFormedWineHiveText(std::string_view text) {
  if (!text.starts_with(kHeader) || text.empty() || text.back() != '\n') return false;
  bool inKey = false;
  bool continuation = false;
  size_t start = 0;
  bool first = true;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) return false;
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (first) {
      first = false;
      if (line != kHeader) return false;
      continue;
    }
    if (continuation) {
      size_t indent = line.find_first_not_of(" \t");
      if (indent == std::string_view::npos || indent == 0) return false;
      if (!hexBytes(line.substr(indent), continuation)) return false;
      continue;
    }
    if (line.empty() || line.starts_with(";")) continue;
    if (line[0] == '[') {
      if (!keyHeader(line)) return false;
      inKey = true;
    } else if (line[0] == '#') {
      if (!attribute(line)) return false;
    } else {
      if (!inKey || !valueLine(line, continuation)) return false;
    }
  }
  return !continuation;
}

}  // namespace backup
