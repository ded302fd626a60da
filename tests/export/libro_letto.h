// A workbook as an independent reader (openpyxl) sees it: one text line per cell.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace pliventa::test {

struct LibroLetto {
    std::vector<std::string> fogli;
    /// "D2" -> "f\t=SUM(D3:D65536)=1.5\tbold\t#,##0.00": kind, value, bold, number
    /// format, as leggi_libro.py prints them, for each cell with a value or a style.
    /// Kinds: s text, n number (repr), d date (yyyy-mm-dd), f formula ("=" then the
    /// stored result), b empty with a style. The first line names the sheets.
    std::map<std::string, std::string> celle;

    /// The cell `ref`, or "" when the reader found nothing there.
    std::string operator[](const std::string& ref) const {
        const auto it = celle.find(ref);
        return it == celle.end() ? std::string() : it->second;
    }
};

/// `x` as Python's repr() of a float writes it: the shortest text that reads back
/// as `x`, with ".0" on whole numbers.
std::string repr(double x);

/// Reads `percorso` up to row `righe` (0: all). Throws std::runtime_error when the
/// reader fails (a workbook it cannot open is a fault of the writer).
LibroLetto leggiLibro(const std::string& percorso, int righe = 0);

/// The bytes of the member `parte` of the workbook's zip ("xl/worksheets/sheet1.xml"),
/// as written. Throws std::runtime_error when it cannot be read.
std::string parteDelLibro(const std::string& percorso, const std::string& parte);

}  // namespace pliventa::test
