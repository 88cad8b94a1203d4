// The system code page: Windows-1252. Strings inside the installer are UTF-8;
// text that crosses a Windows function or lands in a file is 8-bit text in
// this code page.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zepo {

// UTF-8 to Windows-1252 bytes. A character the code page lacks becomes '?',
// as Windows converts it; so does each byte of a malformed UTF-8 sequence.
// The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) come back from U+0081, U+008D, U+008F, U+0090 and U+009D.
std::string toCodePage(const std::string& utf8);

// Windows-1252 bytes to UTF-8; every byte gives one character (the
// undefined ones give the control characters of the same number), so that
// fromCodePage(toCodePage(x)) keeps every character of the code page.
std::string fromCodePage(const std::string& bytes);

// Whether every byte is ASCII, the same in UTF-8 and in the code page.
bool isAscii(std::string_view text);

// Places `text` and a terminating '\0' at the start of `buffer`, the way a
// Windows "A" function fills a caller's character buffer: the rest of the
// buffer keeps what it held. `buffer` is UTF-8 and is counted in characters;
// it is first grown to `size` characters with '\0' when shorter. The caller
// has already cut `text` to fit. Returns the number of characters of `text`.
std::uint32_t placeInBuffer(std::string& buffer, std::uint32_t size, const std::string& text);

// The number of characters of a UTF-8 string.
std::size_t characterCount(const std::string& utf8);

}  // namespace zepo
