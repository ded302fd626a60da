#include "export/celle.h"

#include <cstdio>

#include "records/testo.h"

namespace pliventa {

std::array<Cella, 12> celleVersamento(const Versamento& v, bool euro, LetturaAtto lettura) {
    std::array<Cella, 12> c;
    c[0] = daCp1252(v.dataVersamento());
    c[1] = daCp1252(v.campo(Campo::codicefiscale));
    c[2] = valoreNumerico(v.campo(Campo::numerofabbricati));
    for (std::size_t i = 0; i < kCampiImporto.size(); ++i) {
        const double valore = valoreNumerico(v.campo(kCampiImporto[i]));
        c[3 + i] = euro ? valore / 100 : valore;
    }
    if (!v.violazione()) {
        // A year is a number the sheet can sort and filter on; a year field that
        // is not two digits ("20  ") stays the text it is.
        std::string anno = v.annoImpostaCompleto();
        if (const std::optional<int> numero = valoreCifre(anno)) {
            c[9] = static_cast<double>(*numero);
        } else {
            c[9] = daCp1252(anno);
        }
    } else {
        // The notice number is text so that it keeps its leading zeros; the date is
        // a date only when it is one, otherwise the text as read.
        const EstremiAtto atto = v.estremi(lettura);
        c[10] = daCp1252(atto.numero);
        if (const std::optional<Giorno> g = giornoValido(atto.data)) {
            c[11] = *g;
        } else {
            c[11] = daCp1252(atto.data);
        }
    }
    return c;
}

void Totali::aggiungi(const Versamento& v) {
    ++versamenti_;
    fabbricati_.aggiungi(leggiNumero(v.campo(Campo::numerofabbricati)));
    for (std::size_t i = 0; i < kCampiImporto.size(); ++i) {
        importi_[i].aggiungi(leggiNumero(v.campo(kCampiImporto[i])));
    }
}

std::string formulaTotale(int colonna, std::uint64_t ultimaRiga) {
    const char lettera = static_cast<char>('A' + colonna);
    const std::uint64_t fine = ultimaRiga > 65536 ? ultimaRiga : 65536;
    return "=SUM(" + std::string(1, lettera) + "3:" + std::string(1, lettera) +
           std::to_string(fine) + ")";
}

std::string nomeFoglio(const std::tm& quando) {
    char testo[64];
    std::snprintf(testo, sizeof testo, "Estrazione %02d-%02d-%04d %02d.%02d.%02d", quando.tm_mday,
                  quando.tm_mon + 1, quando.tm_year + 1900, quando.tm_hour, quando.tm_min,
                  quando.tm_sec);
    return testo;
}

std::string nomeFoglioDiAdesso() {
    const std::time_t t = std::time(nullptr);
    std::tm locale{};
    localtime_r(&t, &locale);
    return nomeFoglio(locale);
}

}  // namespace pliventa
