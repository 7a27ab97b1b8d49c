// How folder paths are written on this platform: the separator that ends
// every folder path the game builds ("/" on Linux, "\" on Windows). The file
// functions take either separator on Windows, so a path joined with "/" by
// hand still works there.
#pragma once

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// Whether c separates folders in a path: "/" everywhere, "\" on Windows too
// (on Linux a backslash is an ordinary character of a name).
constexpr bool path_is_separator(char c) { return c == '/' || c == kPathSeparator; }
