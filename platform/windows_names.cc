#include "platform/windows_names.h"

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <vector>

#include "platform/codepage.h"

namespace zepo {

namespace {

// One decoded character; `bad` marks a byte that is no well-formed UTF-8.
struct Char {
  char32_t code;
  bool bad;
};

std::vector<Char> decode(const std::string& s) {
  std::vector<Char> out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    unsigned char b = static_cast<unsigned char>(s[i]);
    std::size_t len = b < 0x80             ? 1
                      : (b & 0xE0) == 0xC0 ? 2
                      : (b & 0xF0) == 0xE0 ? 3
                      : (b & 0xF8) == 0xF0 ? 4
                                           : 0;
    char32_t c = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
    bool ok = len > 0 && i + len <= s.size();
    for (std::size_t k = 1; ok && k < len; ++k) {
      unsigned char t = static_cast<unsigned char>(s[i + k]);
      ok = (t & 0xC0) == 0x80;
      c = (c << 6) | (t & 0x3F);
    }
    if (ok && len > 1) {
      static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
      ok = c >= kMin[len] && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
    }
    if (!ok) {
      out.push_back({b, true});
      ++i;
    } else {
      out.push_back({c, false});
      i += len;
    }
  }
  return out;
}

void encode(std::string& out, Char ch) {
  char32_t c = ch.code;
  if (ch.bad || c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

char32_t upper(char32_t c) {
  if (c >= 'a' && c <= 'z') return c - 0x20;
  if (c < 0xE0) return c;
  if (c <= 0xFE) return c == 0xF7 ? c : c - 0x20;
  if (c == 0xFF) return 0x178;
  if (c >= 0x100 && c <= 0x17F) {
    // Latin Extended-A pairs its letters upper, lower; two runs start on
    // an odd code point.
    bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    bool paired =
        (c <= 0x12F) || (c >= 0x132 && c <= 0x137) || oddUpper || (c >= 0x14A && c <= 0x177);
    if (!paired) return c;
    bool lower = oddUpper ? (c % 2 == 0) : (c % 2 == 1);
    return lower ? c - 1 : c;
  }
  if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) return c - 0x20;
  if (c == 0x3C2) return 0x3A3;
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  return c;
}

// Wildcards after the translation Windows applies before matching.
constexpr char32_t kAnyRun = 0x110000;   // '*'
constexpr char32_t kDosStar = 0x110001;  // '*' before a '.': stops at the last dot
constexpr char32_t kDosQm = 0x110002;    // '?': none at a dot or at the end
constexpr char32_t kDosDot = 0x110003;   // '.' before a wildcard or at the end

}  // namespace

std::string upperName(const std::string& utf8) {
  bool ascii = true;
  for (char c : utf8) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      ascii = false;
      break;
    }
  }
  std::string out;
  out.reserve(utf8.size());
  if (ascii) {
    for (char c : utf8) out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 0x20) : c;
    return out;
  }
  for (Char ch : decode(utf8)) {
    if (!ch.bad) ch.code = upper(ch.code);
    encode(out, ch);
  }
  return out;
}

bool hasWildcard(const std::string& name) {
  return name.find_first_of("*?") != std::string::npos;
}

bool hasForbiddenCharacter(const std::string& name, bool allowWildcards) {
  for (char ch : name) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c < 32) return true;
    switch (c) {
      case '<':
      case '>':
      case ':':
      case '"':
      case '|':
        return true;
      case '*':
      case '?':
        if (!allowWildcards) return true;
        break;
      default:
        break;
    }
  }
  return false;
}

bool isSpellableName(const std::string& name) {
  if (name.empty() || name.back() == '.' || name.back() == ' ') return false;
  if (name.find_first_of("\\/") != std::string::npos) return false;
  if (hasForbiddenCharacter(name, false)) return false;
  return isAscii(name) || fromCodePage(toCodePage(name)) == name;
}

std::string withoutTrailingDotsAndBlanks(const std::string& name) {
  if (hasWildcard(name)) return name;
  return name.substr(0, name.find_last_not_of(". ") + 1);
}

bool matchesPattern(const std::string& pattern, const std::string& name) {
  std::vector<Char> raw = decode(upperName(pattern));
  std::vector<char32_t> p;
  for (std::size_t k = 0; k < raw.size(); ++k) {
    char32_t c = raw[k].bad ? 0x200000 + raw[k].code : raw[k].code;
    char32_t next = k + 1 < raw.size() ? raw[k + 1].code : 0;
    bool nextIsLast = k + 1 >= raw.size();
    if (c == '?') {
      c = kDosQm;
    } else if (c == '*') {
      c = (!nextIsLast && next == '.') ? kDosStar : kAnyRun;
    } else if (c == '.' && (nextIsLast || next == '?' || next == '*')) {
      c = kDosDot;
    }
    p.push_back(c);
  }
  std::vector<char32_t> n;
  for (Char ch : decode(upperName(name))) n.push_back(ch.bad ? 0x200000 + ch.code : ch.code);

  const std::size_t pn = p.size(), nn = n.size();
  std::size_t lastDot = nn;  // nn: the name has no dot
  for (std::size_t i = 0; i < nn; ++i) {
    if (n[i] == '.') lastDot = i;
  }
  // can[pi][ni]: the pattern from pi matches the name from ni.
  std::vector<char> can((pn + 1) * (nn + 1), 0);
  auto at = [&](std::size_t pi, std::size_t ni) -> char& { return can[pi * (nn + 1) + ni]; };
  at(pn, nn) = 1;
  for (std::size_t pi = pn; pi-- > 0;) {
    for (std::size_t ni = nn + 1; ni-- > 0;) {
      bool ok = false;
      switch (p[pi]) {
        case kAnyRun:
          ok = at(pi + 1, ni) || (ni < nn && at(pi, ni + 1));
          break;
        case kDosStar: {
          // Zero or more characters, never past the name's last dot.
          std::size_t limit = (lastDot != nn && lastDot >= ni) ? lastDot : nn;
          for (std::size_t j = ni; j <= limit && !ok; ++j) ok = at(pi + 1, j);
          break;
        }
        case kDosQm:
          ok = (ni < nn && n[ni] != '.') ? at(pi + 1, ni + 1) : at(pi + 1, ni);
          break;
        case kDosDot:
          ok = ni == nn ? at(pi + 1, ni) : (n[ni] == '.' && at(pi + 1, ni + 1));
          break;
        default:
          ok = ni < nn && n[ni] == p[pi] && at(pi + 1, ni + 1);
          break;
      }
      at(pi, ni) = ok;
    }
  }
  return at(0, 0);
}

std::string moduleFolder(const std::string& moduleFileName) {
  std::string path = moduleFileName;
  // The prefixes are ASCII; their letters match in either case.
  auto startsWith = [&path](std::string_view prefix) {
    auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    return path.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), path.begin(),
                      [&fold](char a, char b) { return fold(a) == fold(b); });
  };
  if (startsWith("\\\\?\\") || startsWith("\\??\\")) path.erase(0, 4);
  if (startsWith("UNC\\")) path.replace(0, 4, "\\\\");
  std::size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? path : path.substr(0, cut);
}

}  // namespace zepo
