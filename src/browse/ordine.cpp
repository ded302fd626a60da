#include "browse/ordine.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <new>
#include <numeric>
#include <utility>

#include "browse/insieme_righe.h"
#include "browse/ordine_cf.h"
#include "browse/spazio_righe.h"
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

// The least room a sort takes, whatever the rows: a few dozen codes at a time, so
// that a short list is not read again for every code.
constexpr std::size_t kSpazioMinimo = std::size_t{64} * 20;

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
        case ColonnaOrdine::anno:
            return static_cast<std::uint32_t>(v.annoImposta().value_or(0));
        default:
            return chiaveImporto(valoreNumerico(v.campo(*campoImporto(c))));
    }
}

/// Whether rows of an amount column with equal key `k` (as chiave() gives it) may
/// still differ in value.
bool ambigua(ColonnaOrdine c, std::uint32_t k) {
    return campoImporto(c).has_value() && (k % 2 == 1 || k == 0 || k == kMassimaChiave);
}

/// The true value of a row whose key was ambiguous.
struct Valore {
    double importo = 0;
    std::uint32_t numero = 0;
};

/// Reads again the rows coppie[da, a), which share an ambiguous key, and puts them
/// in the order of their true values, ties by record number.
EsitoVuoto ordinaPari(const ArchivioLavoro& archivio, Ordine ordine, std::uint64_t* coppie,
                      std::size_t da, std::size_t a) {
    std::vector<Valore> valori;
    valori.reserve(a - da);
    for (std::size_t i = da; i < a; ++i) {
        Valore x;
        x.numero = static_cast<std::uint32_t>(coppie[i]);
        const Esito<Versamento> v = archivio.leggirecord(x.numero);
        if (!v) {
            return v.errore();
        }
        x.importo = valoreNumerico(v->campo(*campoImporto(ordine.colonna)));
        valori.push_back(x);
    }
    const auto confronta = [&](const Valore& x, const Valore& y) {
        if (x.importo != y.importo) {
            return ordine.discendente ? x.importo > y.importo : x.importo < y.importo;
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

/// Puts in `parole` the rows of `righe` in file order, each as its key above its
/// number, the keys read in one pass over the file.
EsitoVuoto leggiParole(const ArchivioLavoro& archivio, const InsiemeRighe& righe,
                       std::uint64_t* parole, Ordine ordine, const Controllo& controllo,
                       std::size_t parti) {
    // Each part fills the words of the rows of its blocks: different rows, so the
    // parts never write the same word.
    const Esito<Lettura> letti =
        parallelo(archivio, controllo, parti, [&](std::size_t, const Blocco& blocco) {
            std::uint64_t posto = righe.rango(blocco.primo());
            for (std::size_t i = 0; i < blocco.size(); ++i) {
                const std::uint64_t n = blocco.numero(i);
                if (!righe.contiene(n)) {
                    continue;
                }
                std::uint32_t k = chiave(blocco.versamento(i), ordine.colonna);
                if (ordine.discendente) {
                    k = ~k;
                }
                parole[posto++] = (std::uint64_t{k} << 32) | n;
            }
            return EsitoVuoto(Nulla{});
        });
    if (!letti) {
        return letti.errore();
    }
    // Rows past the file's end were found in it by an earlier pass: it has been
    // cut short since, and their words were never written.
    if (letti->versamenti < righe.ultimo()) {
        return cambiato(archivio);
    }
    return Nulla{};
}

/// Puts the runs of sorted `coppie` whose shared key may hide different values
/// in the order of those values.
EsitoVuoto ordinaAmbigue(const ArchivioLavoro& archivio, std::uint64_t* coppie, std::size_t quante,
                         Ordine ordine, const Controllo& controllo) {
    for (std::size_t da = 0; da < quante;) {
        std::size_t a = da + 1;
        while (a < quante && (coppie[a] >> 32) == (coppie[da] >> 32)) {
            ++a;
        }
        auto k = static_cast<std::uint32_t>(coppie[da] >> 32);
        if (ordine.discendente) {
            k = ~k;
        }
        if (a - da > 1 && ambigua(ordine.colonna, k)) {
            if (controllo.annullato()) {
                return annullata(archivio);
            }
            if (EsitoVuoto esito = ordinaPari(archivio, ordine, coppie, da, a); !esito) {
                return esito;
            }
        }
        da = a;
    }
    return Nulla{};
}

/// The rows of `righe` in `ordine`, at the start of `spazio`.
EsitoVuoto ordinaNelloSpazio(const ArchivioLavoro& archivio, const InsiemeRighe& righe,
                             SpazioRighe& spazio, Ordine ordine, const Controllo& controllo,
                             std::size_t parti) {
    if (ordine.colonna == ColonnaOrdine::codiceFiscale) {
        return ordinaCodici(archivio, righe, spazio, ordine.discendente, controllo, parti);
    }
    std::uint64_t* parole = spazio.parole();
    if (EsitoVuoto e = leggiParole(archivio, righe, parole, ordine, controllo, parti); !e) {
        return e;
    }
    std::sort(parole, parole + righe.size());
    if (EsitoVuoto e = ordinaAmbigue(archivio, parole, righe.size(), ordine, controllo); !e) {
        return e;
    }
    spazio.soloNumeri();
    return Nulla{};
}

}  // namespace

EsitoVuoto ordina(const ArchivioLavoro& archivio, std::vector<std::uint32_t>& righe, Ordine ordine,
                  const Controllo& controllo, std::size_t parti) {
    if (righe.empty()) {
        return Nulla{};
    }
    if (ordine.colonna == ColonnaOrdine::numero) {
        if (ordine.discendente) {
            std::reverse(righe.begin(), righe.end());
        }
        return Nulla{};
    }
    if (parti == 0) {
        parti = partiPerScansione(righe.back());
    }
    // The rows are kept as a set of one bit a record while they are sorted, so
    // that their own four bytes a row can go back before the sort's eight are
    // taken.
    const InsiemeRighe insieme(righe);
    std::vector<std::uint32_t>().swap(righe);
    EsitoVuoto esito = Nulla{};
    try {
        SpazioRighe spazio(insieme.size(), kSpazioMinimo);
        esito = ordinaNelloSpazio(archivio, insieme, spazio, ordine, controllo, parti);
        if (esito) {
            righe = spazio.righe();
            return esito;
        }
    } catch (const std::bad_alloc&) {
        esito = erroreDiSistema(archivio.percorso(), ENOMEM);
    }
    righe = insieme.righe();
    return esito;
}

Esito<std::vector<std::uint32_t>> righeElenco(const ArchivioLavoro& archivio, const Filtro& filtro,
                                              Ordine ordine, const Controllo& controllo,
                                              std::size_t parti) {
    Esito<std::vector<std::uint32_t>> righe = std::vector<std::uint32_t>();
    if (!filtro.vuoto()) {
        righe = filtra(archivio, filtro, controllo, parti);
    } else {
        // Every payment: no pass needed to find them.
        const Esito<std::uint64_t> n = versamentiElenco(archivio);
        if (!n) {
            return n.errore();
        }
        righe->resize(static_cast<std::size_t>(*n));
        std::iota(righe->begin(), righe->end(), std::uint32_t{1});
    }
    if (!righe) {
        return righe;
    }
    if (const EsitoVuoto ordinato = ordina(archivio, *righe, ordine, controllo, parti); !ordinato) {
        return ordinato.errore();
    }
    return righe;
}

}  // namespace pliventa
