// UTF-8, UTF-16 and Latin-1 conversions.
#include "engine/system/unicode.h"

void utf8_append(std::string* out, char32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Decodes one code point at s[i], advancing i; U+FFFD for malformed input.
static char32_t utf8_next(const std::string& s, size_t* i) {
  unsigned char c = static_cast<unsigned char>(s[*i]);
  ++*i;
  if (c < 0x80) return c;
  int extra;
  char32_t cp;
  if (c >= 0xF0 && c <= 0xF4) { extra = 3; cp = c & 0x07; }
  else if (c >= 0xE0) { extra = 2; cp = c & 0x0F; }
  else if (c >= 0xC2 && c < 0xE0) { extra = 1; cp = c & 0x1F; }
  else return 0xFFFD;
  for (int k = 0; k < extra; ++k) {
    if (*i >= s.size()) return 0xFFFD;
    unsigned char d = static_cast<unsigned char>(s[*i]);
    if ((d & 0xC0) != 0x80) return 0xFFFD;
    cp = (cp << 6) | (d & 0x3F);
    ++*i;
  }
  static const char32_t kMin[4] = {0, 0x80, 0x800, 0x10000};
  if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0xFFFD;
  return cp;
}

std::u16string utf8_to_utf16(const std::string& s) {
  std::u16string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    char32_t cp = utf8_next(s, &i);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

std::string utf16_to_utf8(const std::u16string& s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    }
    utf8_append(&out, c);
  }
  return out;
}

std::string latin1_to_utf8(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (unsigned char c : s) utf8_append(&out, c);
  return out;
}
