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

/// `testo` with each NUL character replaced by U+FFFD, the replacement character:
/// a writer that takes C strings would end the text at the NUL and lose the rest.
std::string senzaNul(std::string_view testo);

/// A text cell as it goes into a CSV file or into text pasted in a spreadsheet,
/// so that the spreadsheet keeps it as text: a cell beginning with "=", "+", "-",
/// "@", a tab or a carriage return would be read as a formula (and could run
/// one), so it gets a leading apostrophe, which spreadsheets take as "text
/// follows"; any other is unchanged. Only for text: numbers, negative ones too,
/// are written as they are.
std::string testoNonFormula(std::string_view cella);

/// UTF-8 text upper-cased, for the letters of the Windows-1252 repertoire
/// (a-z, the accented Latin-1 letters, š, œ, ž, ÿ); everything else unchanged.
std::string maiuscolo(std::string_view utf8);

}  // namespace pliventa
