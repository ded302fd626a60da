#include "libro_letto.h"

#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

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

namespace {

/// What `comando` prints on its standard output and error; throws when it fails.
std::string esegui(const std::string& comando) {
    FILE* p = ::popen((comando + " 2>&1").c_str(), "r");
    if (p == nullptr) {
        throw std::runtime_error("cannot start " + comando);
    }
    std::string testo;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, p)) > 0;) {
        testo.append(buffer, n);
    }
    if (::pclose(p) != 0) {
        throw std::runtime_error("failed: " + comando + "\n" + testo);
    }
    return testo;
}

}  // namespace

std::string parteDelLibro(const std::string& percorso, const std::string& parte) {
    return esegui(std::string(PLIVENTA_PYTHON) +
                  " -c 'import sys, zipfile; "
                  "sys.stdout.buffer.write(zipfile.ZipFile(sys.argv[1]).read(sys.argv[2]))' '" +
                  percorso + "' '" + parte + "'");
}

std::optional<std::string> csvLibreOffice(const std::string& percorso,
                                          const std::string& cartella) {
    const char* soffice = "/usr/bin/soffice";
    if (::access(soffice, X_OK) != 0) {
        return std::nullopt;
    }
    // In the locale of the clerks' desktops, whose decimal mark is ",". A profile
    // of its own, named outright: from a desktop session LibreOffice may take the
    // account's home from the system instead of HOME.
    esegui("HOME='" + cartella + "/profilo' LC_ALL=it_IT.UTF-8 " + soffice +
           " -env:UserInstallation='file://" + cartella +
           "/profilo' --headless --norestore --convert-to csv --outdir '" + cartella + "' '" +
           percorso + "'");
    const std::filesystem::path csv =
        std::filesystem::path(cartella) /
        std::filesystem::path(percorso).filename().replace_extension(".csv");
    std::ifstream in(csv, std::ios::binary);
    if (!in) {
        throw std::runtime_error("LibreOffice wrote no " + csv.string());
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
}

LibroLetto leggiLibro(const std::string& percorso, int righe) {
    const std::string testo =
        esegui(std::string(PLIVENTA_PYTHON) + " '" + PLIVENTA_LEGGI_LIBRO + "' '" + percorso +
               "' " + (righe > 0 ? std::to_string(righe) : ""));
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
