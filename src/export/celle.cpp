#include "export/celle.h"

#include <cstdio>

#include "records/testo.h"

namespace pliventa {

namespace {

bool soloCifre(std::string_view s) {
    if (s.empty()) {
        return false;
    }
    for (char c : s) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

int cifre(std::string_view s) {
    int n = 0;
    for (char c : s) {
        n = n * 10 + (c - '0');
    }
    return n;
}

bool bisestile(int anno) {
    return (anno % 4 == 0 && anno % 100 != 0) || anno % 400 == 0;
}

int giorniDelMese(int anno, int mese) {
    static constexpr int kGiorni[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return mese == 2 && bisestile(anno) ? 29 : kGiorni[mese - 1];
}

}  // namespace

std::optional<Giorno> giornoValido(std::string_view ggmmaaaa) {
    if (ggmmaaaa.size() != 10 || ggmmaaaa[2] != '/' || ggmmaaaa[5] != '/') {
        return std::nullopt;
    }
    const std::string_view gg = ggmmaaaa.substr(0, 2);
    const std::string_view mm = ggmmaaaa.substr(3, 2);
    const std::string_view aaaa = ggmmaaaa.substr(6, 4);
    if (!soloCifre(gg) || !soloCifre(mm) || !soloCifre(aaaa)) {
        return std::nullopt;
    }
    const Giorno g{cifre(aaaa), cifre(mm), cifre(gg)};
    if (g.anno < 1900 || g.mese < 1 || g.mese > 12 || g.giorno < 1 ||
        g.giorno > giorniDelMese(g.anno, g.mese)) {
        return std::nullopt;
    }
    return g;
}

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
        if (soloCifre(anno)) {
            c[9] = static_cast<double>(cifre(anno));
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

void SommaEsatta::aggiungi(const NumeroLetto& n) {
    // A field is at most 11 characters wide, so its whole part fits easily and its
    // decimals are at most 10: both parts are exact in 64 bits.
    const std::size_t interiCifre = n.cifre.size() - n.decimali;
    std::int64_t intero = 0;
    for (std::size_t i = 0; i < interiCifre; ++i) {
        intero = intero * 10 + (n.cifre[i] - '0');
    }
    std::int64_t frazione = 0;
    std::int64_t peso = kFrazione;
    for (std::size_t i = interiCifre; i < n.cifre.size() && peso > 1; ++i) {
        peso /= 10;
        frazione += (n.cifre[i] - '0') * peso;
    }
    interi_ += n.negativo ? -intero : intero;
    frazione_ += n.negativo ? -frazione : frazione;
    interi_ += frazione_ / kFrazione;
    frazione_ %= kFrazione;
}

double SommaEsatta::valore(double divisore) const {
    if (frazione_ == 0) {
        return static_cast<double>(interi_) / divisore;
    }
    return (static_cast<double>(interi_) + static_cast<double>(frazione_) / kFrazione) / divisore;
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
