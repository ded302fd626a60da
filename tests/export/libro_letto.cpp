#include "libro_letto.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "processo.h"

namespace pliventa::test {

std::string repr(double x) {
    char testo[64];
    const auto fine = std::to_chars(testo, testo + sizeof testo, x).ptr;
    std::string r(testo, fine);
    if (r.find_first_of(".en") == std::string::npos) {
        r += ".0";
    }
    return r;
}

std::string parteDelLibro(const std::string& percorso, const std::string& parte) {
    return eseguiLinux({PLIVENTA_PYTHON, "-c",
                        "import sys, zipfile; "
                        "sys.stdout.buffer.write(zipfile.ZipFile(sys.argv[1]).read(sys.argv[2]))",
                        percorsoLinux(percorso), parte});
}

std::optional<std::string> csvLibreOffice(const std::string& percorso,
                                          const std::string& cartella) {
    const std::string soffice = "/usr/bin/soffice";
    if (!std::filesystem::exists(daUtf8(percorsoDaLinux(soffice)))) {
        return std::nullopt;
    }
    // In the locale of the clerks' desktops, whose decimal mark is ",". A profile
    // of its own, named outright: from a desktop session LibreOffice may take the
    // account's home from the system instead of HOME.
    const std::string qui = percorsoLinux(cartella);
    eseguiLinux({"/usr/bin/env", "HOME=" + qui + "/profilo", "LC_ALL=it_IT.UTF-8", soffice,
                 "-env:UserInstallation=file://" + qui + "/profilo", "--headless", "--norestore",
                 "--convert-to", "csv", "--outdir", qui, percorsoLinux(percorso)});
    const std::filesystem::path csv =
        daUtf8(cartella) / daUtf8(percorso).filename().replace_extension(".csv");
    std::ifstream in(csv, std::ios::binary);
    if (!in) {
        throw std::runtime_error("LibreOffice wrote no " + utf8(csv));
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
}

LibroLetto leggiLibro(const std::string& percorso, int righe) {
    std::vector<std::string> comando = {PLIVENTA_PYTHON, PLIVENTA_LEGGI_LIBRO,
                                        percorsoLinux(percorso)};
    if (righe > 0) {
        comando.push_back(std::to_string(righe));
    }
    const std::string testo = eseguiLinux(comando);
    LibroLetto libro;
    std::istringstream righeLette(testo);
    for (std::string riga; std::getline(righeLette, riga);) {
        const auto tab = riga.find('\t');
        const std::string chiave = riga.substr(0, tab);
        const std::string resto = tab == std::string::npos ? "" : riga.substr(tab + 1);
        if (chiave == "fogli") {
            std::istringstream nomi(resto);
            for (std::string n; std::getline(nomi, n, '|');) {
                libro.fogli.push_back(n);
            }
        } else {
            libro.celle[chiave] = resto;
        }
    }
    return libro;
}

}  // namespace pliventa::test
