// Conversions between the text encodings the game meets: UTF-8 (files, the
// log, strings inside the program), UTF-16 (code units hashed by the language
// catalogue) and Latin-1 (files without a byte-order mark).
#pragma once

#include <string>

// UTF-8 to UTF-16 code units; malformed bytes become U+FFFD.
std::u16string utf8_to_utf16(const std::string& s);

// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string utf16_to_utf8(const std::u16string& s);

// Each byte is one code point U+0000..U+00FF.
std::string latin1_to_utf8(const std::string& s);

// Appends one code point as UTF-8.
void utf8_append(std::string* out, char32_t cp);
