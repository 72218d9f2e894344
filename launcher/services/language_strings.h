// Strings of the loaded language library (Vorbr2ke.dll / Vorbr2kj.dll), read
// by id. Which library that is, and loading it, is the application's business
// (launcher/app/resource_library.h); everything else only reads.
#pragma once

#include <cstddef>
#include <string>

namespace vorbin {

// String buffers of the callers: an entry is cut at one character less.
inline constexpr size_t kShortString = 64;
inline constexpr size_t kMediumString = 256;
inline constexpr size_t kLongString = 512;

// The loaded library's module handle (null before loading).
void* resourceModule();
// Records the library the loader has just loaded, or null once it is freed.
void setResourceModule(void* module);

// String id of the loaded library through a buffer of bufferChars characters;
// a missing entry is empty text.
std::wstring resourceString(unsigned id, size_t bufferChars = kLongString);
std::wstring resourceStringFrom(void* module, unsigned id, size_t bufferChars);
// From module when one is given, else from the loaded library.
std::wstring resourceStringOrLoaded(void* module, unsigned id, size_t bufferChars);

}  // namespace vorbin
