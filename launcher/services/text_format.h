// Number and file-name texts shared across the launcher: hexadecimal and
// decimal forms, message templates filled in, file names made safe, and fresh
// names for generated files.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vorbin {

// "%04X" of the low 16 bits.
std::wstring hexWord(uint32_t number);
// "%04X%04X" (high word, low word), or "%04X:%04X" with the separator.
std::wstring hexLong(uint32_t number, bool separator);

struct DecimalTexts {
  std::wstring signedText;
  std::wstring unsignedText;
};
DecimalTexts decimal(int32_t number);

// The message template with its first "%s" replaced by name, put in literally
// (no other format directive is interpreted).
std::wstring substituteName(std::wstring_view messageTemplate, std::wstring_view name);
// The template with its first "%d" replaced by count; one without "%d" gets
// " (count)" added, so the number is never lost.
std::wstring substituteCount(std::wstring_view messageTemplate, int count);

// Replaces the ten characters a file name may not hold by full-width or
// typographic look-alikes, so that a title can become a file name.
std::wstring safeFileName(std::wstring_view text);

// "%m%d" of the date + "%04X" of number + extension.
std::wstring uniqueNameCandidate(int month, int day, uint16_t number, std::wstring_view extension);

// The first candidate from start upwards (wrapping FFFF to 0000) that exists
// answers false for; empty when all 65536 are taken.
std::wstring pickUniqueName(int month, int day, uint16_t start, std::wstring_view extension,
                            const std::function<bool(const std::wstring&)>& exists);

}  // namespace vorbin
