#include "base/testo.h"

#include <array>
#include <cstdint>

namespace pliventa {

namespace {

// Code points of bytes 0x80-0x9F; the other bytes equal their Latin-1 code point.
constexpr std::array<char32_t, 32> kAlti = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t daByte(unsigned char b) {
    return (b >= 0x80 && b < 0xA0) ? kAlti[b - 0x80] : b;
}

void aggiungiUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
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

// Decodes one UTF-8 character at `i`, advancing it; nullopt when malformed. The
// decoding is strict: a character written with more bytes than it needs (so
// that "\xC1\x96" is not a "V"), a surrogate, a code point past U+10FFFF, a cut
// sequence and a stray continuation byte are all malformed.
std::optional<char32_t> prossimo(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    int seguito = 0;
    char32_t c = 0;
    char32_t minimo = 0;  // the smallest code point that needs this many bytes
    if (b0 < 0x80) {
        ++i;
        return b0;
    } else if ((b0 & 0xE0) == 0xC0) {
        seguito = 1;
        c = b0 & 0x1F;
        minimo = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        seguito = 2;
        c = b0 & 0x0F;
        minimo = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        seguito = 3;
        c = b0 & 0x07;
        minimo = 0x10000;
    } else {
        return std::nullopt;
    }
    if (i + static_cast<std::size_t>(seguito) >= s.size()) {
        return std::nullopt;
    }
    for (int k = 1; k <= seguito; ++k) {
        const auto b = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
        if ((b & 0xC0) != 0x80) {
            return std::nullopt;
        }
        c = (c << 6) | (b & 0x3F);
    }
    if (c < minimo || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return std::nullopt;
    }
    i += static_cast<std::size_t>(seguito) + 1;
    return c;
}

std::optional<unsigned char> aByte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<unsigned char>(c);
    }
    for (std::size_t k = 0; k < kAlti.size(); ++k) {
        if (kAlti[k] == c) {
            return static_cast<unsigned char>(0x80 + k);
        }
    }
    return std::nullopt;
}

char32_t maiuscola(char32_t c) {
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
        return c - 0x20;
    }
    switch (c) {
        case 0x0161:
            return 0x0160;  // š
        case 0x0153:
            return 0x0152;  // œ
        case 0x017E:
            return 0x017D;  // ž
        case 0x00FF:
            return 0x0178;  // ÿ
        default:
            return c;
    }
}

}  // namespace

std::string daCp1252(std::string_view byte) {
    std::string out;
    out.reserve(byte.size());
    for (char b : byte) {
        aggiungiUtf8(out, daByte(static_cast<unsigned char>(b)));
    }
    return out;
}

bool utf8Valido(std::string_view testo) {
    for (std::size_t i = 0; i < testo.size();) {
        if (!prossimo(testo, i)) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> aCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = prossimo(utf8, i);
        if (!c) {
            return std::nullopt;
        }
        const auto b = aByte(*c);
        if (!b) {
            return std::nullopt;
        }
        out += static_cast<char>(*b);
    }
    return out;
}

std::string senzaNul(std::string_view testo) {
    std::string out;
    out.reserve(testo.size());
    for (const char c : testo) {
        if (c == '\0') {
            out += "\xEF\xBF\xBD";
        } else {
            out += c;
        }
    }
    return out;
}

std::string testoNonFormula(std::string_view cella) {
    std::string out;
    if (!cella.empty() &&
        std::string_view("=+-@\t\r").find(cella.front()) != std::string_view::npos) {
        out += '\'';
    }
    out += cella;
    return out;
}

std::string maiuscolo(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t da = i;
        const auto c = prossimo(utf8, i);
        if (!c) {
            out += utf8[da];  // keep a malformed byte as it is
            i = da + 1;
            continue;
        }
        aggiungiUtf8(out, maiuscola(*c));
    }
    return out;
}

}  // namespace pliventa
