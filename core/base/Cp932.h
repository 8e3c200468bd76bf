#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace fenta21 {

// Text in files and on the logger's line is code page 932; in memory it is UTF-8.
// Conversion happens only at those boundaries.

// Bytes that cannot be converted are replaced by '?' rather than dropped, so a damaged name
// still shows where it was damaged and nothing after it is lost.
std::string cp932ToUtf8(std::string_view cp932);
std::string utf8ToCp932(std::string_view utf8);

// Whether every character of a UTF-8 text has a code page 932 form. A name stored in a
// settings or list file without one would come back with '?' in its place and no longer name
// the folder or file the user meant, so such a name is refused where it is typed.
bool hasCp932Form(std::string_view utf8);
inline constexpr const char* kNoCp932FormText = "Shift_JISで表せない文字は使用できません!! ";

// True for the first byte of a double-byte character.
bool isCp932LeadByte(unsigned char byte);

// The longest prefix of at most maxBytes bytes that ends on a character boundary.
std::size_t cp932PrefixLength(std::string_view cp932, std::size_t maxBytes);

// Exactly `width` bytes: the text cut on a character boundary, then padded with `pad`.
// When the cut falls inside a double-byte character its first byte becomes the pad byte.
std::string cp932FixedField(std::string_view cp932, std::size_t width, char pad = ' ');

// A UTF-8 text stored into a NUL-terminated field of fieldBytes bytes: converted, cut so that
// the NUL still fits and no character is split, zero-filled.
std::string cp932CString(std::string_view utf8, std::size_t fieldBytes);

// The UTF-8 text of a NUL-terminated code page 932 field (bytes after the NUL are ignored).
std::string utf8FromCString(std::string_view field);

}  // namespace fenta21
