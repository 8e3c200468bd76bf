#pragma once

#include <string>
#include <string_view>

namespace fenta21 {

// The text a file viewer shows for a file's bytes, in UTF-8 with "\n" line ends.
//
// The program's own files (CSV, logs, text listings) are code page 932. A file that is valid
// UTF-8 and holds characters beyond ASCII is taken as UTF-8 instead: code page 932 text of
// more than a character or two almost never is, and a user's own notes often are. A UTF-8
// byte order mark is dropped. CR LF and a lone CR end a line; other control bytes (NUL
// padding, DEL) are shown as the half-width middle dot, as the monitor shows them, so that
// nothing in a damaged file can hide the text after it.
std::string viewerText(std::string_view fileBytes);

// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past
// U+10FFFF).
bool isValidUtf8(std::string_view bytes);

}  // namespace fenta21
