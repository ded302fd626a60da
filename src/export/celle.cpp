#include "export/celle.h"

#include <cstdio>

#include "base/sistema.h"
#include "base/testo.h"

namespace pliventa {

std::array<Cella, kNumeroVoci> celleVersamento(const Versamento& v, bool euro,
                                               LetturaAtto lettura) {
    std::array<Cella, kNumeroVoci> c;
    const bool violazione = v.violazione();
    const EstremiAtto atto = violazione ? v.estremi(lettura) : EstremiAtto{};
    for (const DescrizioneVoce& d : kVoci) {
        Cella& cella = c[indice(d.voce)];
        switch (d.genere) {
            case Genere::data:
                cella = daCp1252(v.dataVersamento());
                break;
            case Genere::testo:
                cella = daCp1252(v.campo(d.campo));
                break;
            case Genere::conteggio:
                cella = valoreNumerico(v.campo(d.campo));
                break;
            case Genere::importo: {
                const double valore = valoreNumerico(v.campo(d.campo));
                cella = euro ? valore / 100 : valore;
                break;
            }
            case Genere::anno:
                // A year is a number the sheet can sort and filter on; a year field
                // that is not two digits ("20  ") stays the text it is.
                if (violazione) {
                    break;
                }
                if (const std::optional<int> anno = v.annoImposta()) {
                    cella = static_cast<double>(*anno);
                } else {
                    cella = daCp1252(v.annoImpostaCompleto());
                }
                break;
            case Genere::numeroAtto:
                // Text, so that it keeps its leading zeros.
                if (violazione) {
                    cella = daCp1252(atto.numero);
                }
                break;
            case Genere::dataAtto:
                // A date only when it is one, otherwise the text as read.
                if (atto.giorno) {
                    cella = *atto.giorno;
                } else if (violazione) {
                    cella = daCp1252(atto.data);
                }
                break;
        }
    }
    return c;
}

void Totali::aggiungi(const Versamento& v) {
    ++versamenti_;
    fabbricati_.aggiungi(leggiNumero(v.campo(Campo::numerofabbricati)));
    for (std::size_t i = 0; i < kVociImporto.size(); ++i) {
        importi_[i].aggiungi(leggiNumero(v.campo(descrizione(kVociImporto[i]).campo)));
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
    return nomeFoglio(oraLocale(t));
}

}  // namespace pliventa
