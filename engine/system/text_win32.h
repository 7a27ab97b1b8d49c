// Private to engine/system on Windows: the conversions between the game's
// UTF-8 text and the UTF-16 text of the wide system calls.
#pragma once

#include <cstddef>
#include <string>

// UTF-8 to UTF-16; malformed bytes become U+FFFD.
std::wstring win32_wide(const std::string& text);

// UTF-16 to UTF-8 (length characters, or up to the terminating zero when
// length is npos); unpaired surrogates become U+FFFD.
std::string win32_utf8(const wchar_t* text, size_t length = std::string::npos);

// The UTF-16 form of a path for the wide file calls: every "/" turned into
// "\", and a path too long for the plain calls made absolute under the
// "\\?\" prefix, which takes it up to 32,767 characters.
std::wstring win32_path(const std::string& path);
