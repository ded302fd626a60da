#include "browse/ordine.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <utility>

#include "records/scansione.h"
#include "records/versamento.h"

namespace pliventa {

namespace {

constexpr std::array<std::pair<std::string_view, ColonnaOrdine>, 10> kNomi = {{
    {"n", ColonnaOrdine::numero},
    {"data", ColonnaOrdine::data},
    {"cf", ColonnaOrdine::codiceFiscale},
    {"anno", ColonnaOrdine::anno},
    {"totale", ColonnaOrdine::totale},
    {"terreni", ColonnaOrdine::terreni},
    {"aree_fabbricabili", ColonnaOrdine::areeFabbricabili},
    {"abitazione_principale", ColonnaOrdine::abitazionePrincipale},
    {"altri_fabbricati", ColonnaOrdine::altriFabbricati},
    {"detrazione", ColonnaOrdine::detrazione},
}};

std::optional<Campo> campoImporto(ColonnaOrdine c) {
    switch (c) {
        case ColonnaOrdine::totale:
            return Campo::totale;
        case ColonnaOrdine::terreni:
            return Campo::terreni;
        case ColonnaOrdine::areeFabbricabili:
            return Campo::areefabbricabili;
        case ColonnaOrdine::abitazionePrincipale:
            return Campo::abitazioneprincipale;
        case ColonnaOrdine::altriFabbricati:
            return Campo::altrifabbricati;
        case ColonnaOrdine::detrazione:
            return Campo::detrazione;
        default:
            return std::nullopt;
    }
}

// A row is sorted as one 64-bit word: a 32-bit key that keeps the order of the
// column's values above its record number, so that equal keys fall in record
// order. Where 32 bits cannot hold a value exactly, the key only keeps the order
// (a smaller value never gets a larger key) and rows of equal keys are read again
// and ordered by their true values.

// The codice fiscale: its first six bytes as a number in base 37. The blank, the
// ten digits and the 26 letters have codes 0 to 36 in byte order; any other byte
// takes the code of the nearest of them below it.
constexpr std::size_t kByteChiaveCf = 6;

constexpr std::array<std::uint8_t, 256> kCodiciCf = [] {
    std::array<std::uint8_t, 256> t{};
    std::uint8_t codice = 0;
    for (int b = 0; b < 256; ++b) {
        const bool simbolo = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z');
        if (simbolo) {
            ++codice;
        }
        t[static_cast<std::size_t>(b)] = codice;
    }
    return t;
}();
static_assert(kCodiciCf['Z'] == 36 && kCodiciCf['0'] == 1 && kCodiciCf[' '] == 0);

std::uint32_t chiaveCf(std::string_view cf) {
    std::uint32_t k = 0;
    for (std::size_t i = 0; i < kByteChiaveCf; ++i) {
        k = k * 37 + kCodiciCf[static_cast<unsigned char>(cf[i])];
    }
    return k;
}

// An amount: whole values of magnitude below 2^30 - 1 exactly, as twice the value
// offset by 2^31; a value with decimals as the odd key between its neighbours;
// larger magnitudes as the smallest or largest key. Odd and end keys are re-read.
constexpr double kLimiteImporto = (1u << 30) - 1;
constexpr std::uint32_t kMassimaChiave = 0xFFFFFFFFu;

std::uint32_t chiaveImporto(double v) {
    if (v <= -kLimiteImporto) {
        return 0;
    }
    if (v >= kLimiteImporto) {
        return kMassimaChiave;
    }
    const double intero = std::floor(v);
    const auto k = static_cast<std::int64_t>(2 * intero) + (intero == v ? 0 : 1) + (1LL << 31);
    return static_cast<std::uint32_t>(k);
}

std::uint32_t chiave(const Versamento& v, ColonnaOrdine c) {
    switch (c) {
        case ColonnaOrdine::numero:
            return 0;
        case ColonnaOrdine::data: {
            const std::optional<Giorno> g = v.giornoVersamento();
            return g ? static_cast<std::uint32_t>(g->anno * 10000 + g->mese * 100 + g->giorno) : 0;
        }
        case ColonnaOrdine::codiceFiscale:
            return chiaveCf(v.campo(Campo::codicefiscale));
        case ColonnaOrdine::anno:
            return static_cast<std::uint32_t>(v.annoImposta().value_or(0));
        default:
            return chiaveImporto(valoreNumerico(v.campo(*campoImporto(c))));
    }
}

/// Whether rows of equal key `k` (as chiave() gives it) may still differ in value.
bool ambigua(ColonnaOrdine c, std::uint32_t k) {
    if (c == ColonnaOrdine::codiceFiscale) {
        return true;
    }
    return campoImporto(c).has_value() && (k % 2 == 1 || k == 0 || k == kMassimaChiave);
}

/// The true value of a row whose key was ambiguous.
struct Valore {
    std::array<char, 16> cf{};
    double importo = 0;
    std::uint32_t numero = 0;
};

/// Reads again the rows coppie[da, a), which share an ambiguous key, and puts them
/// in the order of their true values, ties by record number.
EsitoVuoto ordinaPari(const ArchivioLavoro& archivio, Ordine ordine,
                      std::vector<std::uint64_t>& coppie, std::size_t da, std::size_t a) {
    std::vector<Valore> valori;
    valori.reserve(a - da);
    for (std::size_t i = da; i < a; ++i) {
        Valore x;
        x.numero = static_cast<std::uint32_t>(coppie[i]);
        const Esito<Versamento> v = archivio.leggirecord(x.numero);
        if (!v) {
            return v.errore();
        }
        if (ordine.colonna == ColonnaOrdine::codiceFiscale) {
            const std::string_view cf = v->campo(Campo::codicefiscale);
            std::copy(cf.begin(), cf.end(), x.cf.begin());
        } else {
            x.importo = valoreNumerico(v->campo(*campoImporto(ordine.colonna)));
        }
        valori.push_back(x);
    }
    const auto confronta = [&](const Valore& x, const Valore& y) {
        const int c = ordine.colonna == ColonnaOrdine::codiceFiscale
                          ? std::memcmp(x.cf.data(), y.cf.data(), x.cf.size())
                          : (x.importo < y.importo ? -1 : (y.importo < x.importo ? 1 : 0));
        if (c != 0) {
            return ordine.discendente ? c > 0 : c < 0;
        }
        return x.numero < y.numero;
    };
    std::sort(valori.begin(), valori.end(), confronta);
    for (std::size_t i = da; i < a; ++i) {
        coppie[i] = (coppie[i] & ~std::uint64_t{0xFFFFFFFFu}) | valori[i - da].numero;
    }
    return Nulla{};
}

}  // namespace

std::optional<Ordine> ordineDaTesto(std::string_view testo) {
    Ordine o;
    if (const std::size_t due = testo.find(':'); due != std::string_view::npos) {
        const std::string_view verso = testo.substr(due + 1);
        if (verso != "desc" && verso != "asc") {
            return std::nullopt;
        }
        o.discendente = verso == "desc";
        testo = testo.substr(0, due);
    }
    for (const auto& [nome, colonna] : kNomi) {
        if (nome == testo) {
            o.colonna = colonna;
            return o;
        }
    }
    return std::nullopt;
}

std::string_view nomiOrdine() {
    return "n, data, cf, anno, totale, terreni, aree_fabbricabili, abitazione_principale, "
           "altri_fabbricati, detrazione";
}

namespace {

/// The rows of `righe` as sort words, their keys read in one pass over the file.
Esito<std::vector<std::uint64_t>> coppieDi(const ArchivioLavoro& archivio,
                                           const std::vector<std::uint32_t>& righe, Ordine ordine,
                                           const Controllo& controllo, std::size_t parti) {
    std::vector<std::uint64_t> coppie(righe.begin(), righe.end());
    if (parti == 0) {
        parti = partiPerScansione(righe.empty() ? 0 : righe.back());
    }
    // Each part fills the keys of the rows of its blocks: different rows, so the
    // parts never write the same word.
    const Esito<Lettura> letti =
        parallelo(archivio, controllo, parti, [&](std::size_t, const Blocco& blocco) {
            const std::uint64_t fine = blocco.primo() + blocco.size();
            auto it = std::lower_bound(righe.begin(), righe.end(), blocco.primo());
            for (; it != righe.end() && *it < fine; ++it) {
                std::uint32_t k = chiave(blocco.versamento(*it - blocco.primo()), ordine.colonna);
                if (ordine.discendente) {
                    k = ~k;
                }
                coppie[static_cast<std::size_t>(it - righe.begin())] =
                    (std::uint64_t{k} << 32) | *it;
            }
            return EsitoVuoto(Nulla{});
        });
    if (!letti) {
        return letti.errore();
    }
    return coppie;
}

/// Puts the runs of sorted `coppie` whose shared key may hide different values
/// in the order of those values.
EsitoVuoto ordinaAmbigue(const ArchivioLavoro& archivio, std::vector<std::uint64_t>& coppie,
                         Ordine ordine, const Controllo& controllo) {
    for (std::size_t da = 0; da < coppie.size();) {
        std::size_t a = da + 1;
        while (a < coppie.size() && (coppie[a] >> 32) == (coppie[da] >> 32)) {
            ++a;
        }
        auto k = static_cast<std::uint32_t>(coppie[da] >> 32);
        if (ordine.discendente) {
            k = ~k;
        }
        if (a - da > 1 && ambigua(ordine.colonna, k)) {
            if (controllo.annullato()) {
                return Errore{CodiceErrore::Annullato, archivio.percorso(), "lettura annullata"};
            }
            if (EsitoVuoto esito = ordinaPari(archivio, ordine, coppie, da, a); !esito) {
                return esito;
            }
        }
        da = a;
    }
    return Nulla{};
}

}  // namespace

EsitoVuoto ordina(const ArchivioLavoro& archivio, std::vector<std::uint32_t>& righe, Ordine ordine,
                  const Controllo& controllo, std::size_t parti) {
    if (ordine.colonna == ColonnaOrdine::numero) {
        if (ordine.discendente) {
            std::reverse(righe.begin(), righe.end());
        }
        return Nulla{};
    }
    Esito<std::vector<std::uint64_t>> coppie = coppieDi(archivio, righe, ordine, controllo, parti);
    if (!coppie) {
        return coppie.errore();
    }
    std::sort(coppie->begin(), coppie->end());
    if (EsitoVuoto esito = ordinaAmbigue(archivio, *coppie, ordine, controllo); !esito) {
        return esito;
    }
    for (std::size_t i = 0; i < coppie->size(); ++i) {
        righe[i] = static_cast<std::uint32_t>((*coppie)[i]);
    }
    return Nulla{};
}

}  // namespace pliventa
