#include "platform/codepage.h"

#include <array>
#include <cstddef>

namespace zepo {

namespace {

// Characters of the bytes 0x80..0x9F; the undefined bytes stand for the C1
// control character of their own number.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int byteOf(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == c) return static_cast<int>(0x80 + i);
  }
  return -1;
}

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes the character at `i`; returns its length in bytes, or 0 when the
// bytes there are no well-formed UTF-8.
std::size_t decode(const std::string& s, std::size_t i, char32_t& c) {
  unsigned char b = static_cast<unsigned char>(s[i]);
  std::size_t len;
  char32_t min;
  if (b < 0x80) {
    c = b;
    return 1;
  } else if ((b & 0xE0) == 0xC0) {
    len = 2, c = b & 0x1F, min = 0x80;
  } else if ((b & 0xF0) == 0xE0) {
    len = 3, c = b & 0x0F, min = 0x800;
  } else if ((b & 0xF8) == 0xF0) {
    len = 4, c = b & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  for (std::size_t k = 1; k < len; ++k) {
    unsigned char t = static_cast<unsigned char>(s[i + k]);
    if ((t & 0xC0) != 0x80) return 0;
    c = (c << 6) | (t & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return len;
}

}  // namespace

bool isAscii(std::string_view text) {
  for (char ch : text) {
    if (static_cast<unsigned char>(ch) >= 0x80) return false;
  }
  return true;
}

std::string toCodePage(const std::string& utf8) {
  if (isAscii(utf8)) return utf8;
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t c;
    std::size_t len = decode(utf8, i, c);
    if (len == 0) {
      out += '?';
      ++i;
      continue;
    }
    int b = byteOf(c);
    out += b < 0 ? '?' : static_cast<char>(b);
    i += len;
  }
  return out;
}

std::string fromCodePage(const std::string& bytes) {
  if (isAscii(bytes)) return bytes;
  std::string out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    unsigned char b = static_cast<unsigned char>(ch);
    if (b < 0x80) {
      out += ch;
    } else if (b < 0xA0) {
      appendUtf8(out, kHighControls[b - 0x80]);
    } else {
      appendUtf8(out, b);
    }
  }
  return out;
}

std::size_t characterCount(const std::string& utf8) {
  std::size_t n = 0;
  for (char ch : utf8) {
    if ((static_cast<unsigned char>(ch) & 0xC0) != 0x80) ++n;
  }
  return n;
}

std::uint32_t placeInBuffer(std::string& buffer, std::uint32_t size, const std::string& text) {
  // Byte offset just past the first `n` characters of the buffer.
  auto offsetOf = [&buffer](std::size_t n) {
    std::size_t i = 0;
    for (std::size_t count = 0; i < buffer.size() && count < n; ++count) {
      ++i;
      while (i < buffer.size() && (static_cast<unsigned char>(buffer[i]) & 0xC0) == 0x80) ++i;
    }
    return i;
  };
  std::size_t have = characterCount(buffer);
  if (have < size) buffer.append(size - have, '\0');
  std::size_t count = characterCount(text);
  std::string rest = buffer.substr(offsetOf(count + 1));
  buffer = text;
  buffer += '\0';
  buffer += rest;
  return static_cast<std::uint32_t>(count);
}

}  // namespace zepo
