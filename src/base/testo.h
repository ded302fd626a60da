// Text of the payment files: one byte per character in the Windows-1252 code page.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pliventa {

/// UTF-8 text of Windows-1252 bytes. The five bytes that code page leaves
/// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of the
/// same number, so nothing is lost.
std::string daCp1252(std::string_view byte);

/// True when `testo` is well-formed UTF-8: every character in its shortest form,
/// no surrogates, nothing past U+10FFFF, no sequence cut short or stray byte.
bool utf8Valido(std::string_view testo);

/// Windows-1252 bytes of UTF-8 text; nullopt when a character has no place in
/// the code page or the UTF-8 is malformed (see utf8Valido()).
std::optional<std::string> aCp1252(std::string_view utf8);

/// UTF-8 text upper-cased, for the letters of the Windows-1252 repertoire
/// (a-z, the accented Latin-1 letters, š, œ, ž, ÿ); everything else unchanged.
std::string maiuscolo(std::string_view utf8);

}  // namespace pliventa
