#include "export/libro.h"

#include <xlsxwriter.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "base/sistema.h"
#include "base/testo.h"

namespace pliventa {

namespace {

// The library writes numbers into the sheet's XML with printf ("%.16G" for a
// value, "%g" for a width), which takes its decimal mark from the C library's
// locale. The window runs in the user's locale, and an Italian desktop's ","
// turns 893.1 into "893,1", which spreadsheet programs read as 893 or refuse:
// every call into the library runs with the C locale's numbers on this thread,
// whatever the process's locale is (NumeriC).

}  // namespace

struct LibroExcel::Dati {
    lxw_workbook* libro = nullptr;
    lxw_worksheet* foglio = nullptr;
    lxw_format* formati[5] = {};
    std::string perMessaggi;
    std::vector<char> cartellaTemporanea;  ///< the library wants a char*
    std::uint64_t riparate = 0;            ///< text cells whose NUL characters were replaced

    ~Dati() {
        if (libro != nullptr) {
            lxw_workbook_free(libro);
        }
    }

    std::string cartella() const { return std::string(cartellaTemporanea.data()); }

    /// The library's failure `e` as an Errore. `numeroErrore` is the errno left by
    /// the call, which the library does not clear: it gives the system's reason.
    Errore errore(lxw_error e, int numeroErrore) const {
        switch (e) {
            case LXW_ERROR_CREATING_TMPFILE:
            case LXW_ERROR_READING_TMPFILE:
                return numeroErrore != 0 ? erroreDiSistema(cartella(), numeroErrore)
                                         : Errore{CodiceErrore::InputOutput, cartella(),
                                                  "impossibile usare i file temporanei del foglio"};
            case LXW_ERROR_MEMORY_MALLOC_FAILED:
                return erroreDiSistema(perMessaggi, ENOMEM);
            case LXW_ERROR_CREATING_XLSX_FILE:
            case LXW_ERROR_ZIP_FILE_OPERATION:
            case LXW_ERROR_ZIP_PARAMETER_ERROR:
            case LXW_ERROR_ZIP_BAD_ZIP_FILE:
            case LXW_ERROR_ZIP_INTERNAL_ERROR:
            case LXW_ERROR_ZIP_FILE_ADD:
            case LXW_ERROR_ZIP_CLOSE:
                if (numeroErrore != 0) {
                    return erroreDiSistema(perMessaggi, numeroErrore);
                }
                return Errore{CodiceErrore::InputOutput, perMessaggi,
                              "impossibile scrivere il file compresso"};
            default:
                return Errore{CodiceErrore::InputOutput, perMessaggi,
                              "operazione rifiutata dalla libreria del foglio di calcolo "
                              "(errore " +
                                  std::to_string(static_cast<int>(e)) + ")"};
        }
    }

    EsitoVuoto esito(lxw_error e) const {
        const int numeroErrore = errno;
        if (e == LXW_NO_ERROR) {
            return Nulla{};
        }
        return errore(e, numeroErrore);
    }

    lxw_format* formato(Stile s) const { return formati[static_cast<int>(s)]; }
};

LibroExcel::LibroExcel(std::unique_ptr<Dati> dati) : d_(std::move(dati)) {}

LibroExcel::~LibroExcel() = default;

Esito<std::unique_ptr<LibroExcel>> LibroExcel::crea(const std::string& file,
                                                    const std::string& nomeFoglio,
                                                    const std::string& cartellaTemporanea,
                                                    const std::string& perMessaggi) {
    const NumeriC numeri;
    auto d = std::make_unique<Dati>();
    d->perMessaggi = perMessaggi;
    d->cartellaTemporanea.assign(cartellaTemporanea.begin(), cartellaTemporanea.end());
    d->cartellaTemporanea.push_back('\0');

    lxw_workbook_options opzioni{};
    opzioni.constant_memory = LXW_TRUE;
    opzioni.tmpdir = d->cartellaTemporanea.data();
    errno = 0;
    d->libro = workbook_new_opt(file.c_str(), &opzioni);
    if (d->libro == nullptr) {
        return d->errore(LXW_ERROR_MEMORY_MALLOC_FAILED, 0);
    }
    errno = 0;
    d->foglio = workbook_add_worksheet(d->libro, nomeFoglio.c_str());
    if (d->foglio == nullptr) {
        // The name is ours and valid: what fails here is the sheet's temporary file.
        return d->errore(LXW_ERROR_CREATING_TMPFILE, errno);
    }
    for (lxw_format*& f : d->formati) {
        f = workbook_add_format(d->libro);
        if (f == nullptr) {
            return d->errore(LXW_ERROR_MEMORY_MALLOC_FAILED, 0);
        }
    }
    format_set_bold(d->formato(Stile::grassetto));
    format_set_num_format(d->formato(Stile::importo), "#,##0.00");
    format_set_bold(d->formato(Stile::totale));
    format_set_num_format(d->formato(Stile::totale), "#,##0.00");
    format_set_num_format(d->formato(Stile::data), "dd/mm/yyyy");
    return std::unique_ptr<LibroExcel>(new LibroExcel(std::move(d)));
}

EsitoVuoto LibroExcel::colonne(int prima, int ultima, double larghezza, Stile stile) {
    const NumeriC numeri;
    errno = 0;
    return d_->esito(worksheet_set_column(d_->foglio, static_cast<lxw_col_t>(prima),
                                          static_cast<lxw_col_t>(ultima), larghezza,
                                          stile == Stile::normale ? nullptr : d_->formato(stile)));
}

EsitoVuoto LibroExcel::scrivi(std::uint32_t riga, int colonna, const Cella& cella, Stile stile) {
    const NumeriC numeri;
    lxw_format* f = stile == Stile::normale ? nullptr : d_->formato(stile);
    const auto c = static_cast<lxw_col_t>(colonna);
    errno = 0;
    lxw_error e = LXW_NO_ERROR;
    if (const auto* testo = std::get_if<std::string>(&cella)) {
        // The library takes a C string: the text after a NUL would be lost.
        if (testo->find('\0') != std::string::npos) {
            ++d_->riparate;
            const std::string riparato = senzaNul(*testo);
            e = worksheet_write_string(d_->foglio, riga, c, riparato.c_str(), f);
        } else {
            e = worksheet_write_string(d_->foglio, riga, c, testo->c_str(), f);
        }
    } else if (const auto* numero = std::get_if<double>(&cella)) {
        e = worksheet_write_number(d_->foglio, riga, c, *numero, f);
    } else if (const auto* giorno = std::get_if<Giorno>(&cella)) {
        lxw_datetime data{giorno->anno, giorno->mese, giorno->giorno, 0, 0, 0.0};
        e = worksheet_write_datetime(d_->foglio, riga, c, &data, f);
    } else if (f != nullptr) {
        e = worksheet_write_blank(d_->foglio, riga, c, f);
    }
    return d_->esito(e);
}

EsitoVuoto LibroExcel::formula(std::uint32_t riga, int colonna, const std::string& testo,
                               double risultato, Stile stile) {
    const NumeriC numeri;
    errno = 0;
    return d_->esito(worksheet_write_formula_num(
        d_->foglio, riga, static_cast<lxw_col_t>(colonna), testo.c_str(),
        stile == Stile::normale ? nullptr : d_->formato(stile), risultato));
}

std::uint64_t LibroExcel::celleRiparate() const {
    return d_->riparate;
}

EsitoVuoto LibroExcel::controllaTemporanei() {
    for (FILE* f : {d_->foglio->file, d_->foglio->optimize_tmpfile}) {
        if (f == nullptr) {
            continue;
        }
        errno = 0;
        if (std::fflush(f) != 0 || std::ferror(f) != 0) {
            return d_->errore(LXW_ERROR_CREATING_TMPFILE, errno != 0 ? errno : EIO);
        }
    }
    return Nulla{};
}

EsitoVuoto LibroExcel::chiudi() {
    const NumeriC numeri;
    errno = 0;
    const lxw_error e = workbook_close(std::exchange(d_->libro, nullptr));
    return d_->esito(e);
}

}  // namespace pliventa
