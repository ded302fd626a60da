// The payments list timed on a work file, for bench/misura.py. Usage:
//   elenco_bench apri WORKFILE            open the list, texts of the first 40 rows
//   elenco_bench ricerca WORKFILE TESTO   the search scan, to the end of the file
//   elenco_bench prefisso WORKFILE TESTO  the filter by codice fiscale prefix
//   elenco_bench anomalie WORKFILE        the filter "solo anomalie"
// Prints the milliseconds on stdout and what was found on stderr.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>

#include "browse/elenco.h"
#include "browse/filtro.h"
#include "browse/ricerca.h"

namespace {

using namespace pliventa;

int uso() {
    std::fputs(
        "uso: elenco_bench apri|anomalie WORKFILE | elenco_bench ricerca|prefisso WORKFILE "
        "TESTO\n",
        stderr);
    return 2;
}

int errore(const Errore& e) {
    std::fprintf(stderr, "%s\n", e.descrizione().c_str());
    return 1;
}

// The first screen of the window: 40 rows of every column.
Esito<std::size_t> apri(const std::string& percorso) {
    Esito<ArchivioLavoro> archivio = ArchivioLavoro::apriarchivio(percorso);
    if (!archivio) {
        return archivio.errore();
    }
    Esito<ElencoVersamenti> elenco = ElencoVersamenti::crea(*archivio, {});
    if (!elenco) {
        return elenco.errore();
    }
    std::size_t caratteri = 0;
    for (std::uint64_t r = 0; r < 40 && r < elenco->righe(); ++r) {
        for (std::size_t c = 0; c < kColonneElenco; ++c) {
            caratteri += elenco->testo(r, c).size();
        }
    }
    if (elenco->erroreLettura()) {
        return *elenco->erroreLettura();
    }
    std::fprintf(stderr, "%llu righe, %zu caratteri nella prima schermata\n",
                 static_cast<unsigned long long>(elenco->righe()), caratteri);
    return caratteri;
}

Esito<std::size_t> ricerca(const ArchivioLavoro& archivio, std::string_view testo) {
    ScansioneRicerca s(archivio, testo);
    std::size_t trovati = 0;
    for (;;) {
        auto r = s.prossimo();
        if (!r) {
            return r.errore();
        }
        if (!r->has_value()) {
            return trovati;
        }
        ++trovati;
    }
}

Esito<std::size_t> filtro(const ArchivioLavoro& archivio, const Filtro& f) {
    auto r = filtra(archivio, f);
    if (!r) {
        return r.errore();
    }
    return r->size();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        return uso();
    }
    const std::string_view modo = argv[1];
    const std::string percorso = argv[2];
    const bool conTesto = modo == "ricerca" || modo == "prefisso";
    if (argc != (conTesto ? 4 : 3)) {
        return uso();
    }
    const auto inizio = std::chrono::steady_clock::now();
    Esito<std::size_t> esito = std::size_t{0};
    if (modo == "apri") {
        esito = apri(percorso);
    } else {
        Esito<ArchivioLavoro> archivio = ArchivioLavoro::apriarchivio(percorso);
        if (!archivio) {
            return errore(archivio.errore());
        }
        if (modo == "ricerca") {
            esito = ricerca(*archivio, argv[3]);
        } else if (modo == "prefisso") {
            esito = filtro(*archivio, Filtro{.prefisso = argv[3]});
        } else if (modo == "anomalie") {
            esito = filtro(*archivio, Filtro{.soloAnomalie = true});
        } else {
            return uso();
        }
        if (esito) {
            std::fprintf(stderr, "%zu versamenti trovati\n", *esito);
        }
    }
    const auto fine = std::chrono::steady_clock::now();
    if (!esito) {
        return errore(esito.errore());
    }
    std::printf("%.1f\n", std::chrono::duration<double, std::milli>(fine - inizio).count());
    return 0;
}
