// A workbook as an independent reader (openpyxl) sees it: one text line per cell.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pliventa::test {

struct LibroLetto {
    std::vector<std::string> fogli;
    /// "D2" -> "f\t=SUM(D3:D65536)=1.5\tbold\t#,##0.00": kind, value, bold, number
    /// format, as leggi_libro.py prints them.
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

/// The first sheet of the workbook `percorso` as LibreOffice converts it to CSV on
/// an Italian desktop ("," is the decimal mark), its profile and output in
/// `cartella`. nullopt when LibreOffice is not installed. Throws std::runtime_error
/// when it fails.
std::optional<std::string> csvLibreOffice(const std::string& percorso, const std::string& cartella);

}  // namespace pliventa::test
