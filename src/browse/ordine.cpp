#include "browse/ordine.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstring>
#include <numeric>
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

// The codice fiscale: four of its sixteen bytes at a time, as a big-endian word,
// so that words compare as the bytes do. The first four make the key of the one
// sort; the rows that tie are sorted again by the next four within their tie,
// read in one more pass over the file, up to the last four (kLivelliCf passes in
// all at most): two codes that tie then are the same code.
constexpr std::size_t kLivelliCf = 4;

// How many rows ahead a pass over the file fetches the words of.
constexpr std::size_t kAvantiCf = 16;

std::uint32_t chiaveCf(std::string_view cf, std::size_t livello) {
    std::uint32_t k = 0;
    for (std::size_t i = 4 * livello; i < 4 * livello + 4; ++i) {
        k = (k << 8) | static_cast<unsigned char>(cf[i]);
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

std::uint32_t chiave(const Versamento& v, ColonnaOrdine c, std::size_t livello = 0) {
    switch (c) {
        case ColonnaOrdine::numero:
            return 0;
        case ColonnaOrdine::data: {
            const std::optional<Giorno> g = v.giornoVersamento();
            return g ? static_cast<std::uint32_t>(g->anno * 10000 + g->mese * 100 + g->giorno) : 0;
        }
        case ColonnaOrdine::codiceFiscale:
            return chiaveCf(v.campo(Campo::codicefiscale), livello);
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

/// The rows of `righe` as sort words, their keys read in one pass over the file.
Esito<std::vector<std::uint64_t>> coppieDi(const ArchivioLavoro& archivio,
                                           const std::vector<std::uint32_t>& righe, Ordine ordine,
                                           const Controllo& controllo, std::size_t parti) {
    std::vector<std::uint64_t> coppie(righe.begin(), righe.end());
    if (parti == 0) {
        parti = partiPerScansione(righe.back());
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

/// The rows of the runs of two or more sorted `coppie` (a run begins where
/// `inizio` is set), grouped by the block of the file their record lies in, so
/// that one pass can reach each of them: positions in `coppie`, and where each
/// block's begin.
struct Sospese {
    std::vector<std::uint32_t> posizioni;
    std::vector<std::size_t> inizioBlocco;  ///< one more than the blocks
};

Sospese sospese(const std::vector<std::uint64_t>& coppie, const std::vector<bool>& inizio,
                std::uint64_t ultimo) {
    constexpr std::uint64_t kBlocco = Scansione::kRecordPerBlocco;
    Sospese s;
    s.inizioBlocco.assign(static_cast<std::size_t>(ultimo / kBlocco) + 2, 0);
    const auto blocco = [&](std::size_t p) {
        return static_cast<std::size_t>((static_cast<std::uint32_t>(coppie[p]) - 1) / kBlocco);
    };
    // Counted first, then placed: memory for the rows themselves and no more.
    for (int giro = 0; giro < 2; ++giro) {
        std::vector<std::size_t> posto = s.inizioBlocco;
        for (std::size_t da = 0; da < coppie.size();) {
            std::size_t a = da + 1;
            while (!inizio[a]) {
                ++a;
            }
            for (std::size_t p = da; a - da > 1 && p < a; ++p) {
                if (giro == 0) {
                    ++s.inizioBlocco[blocco(p) + 1];
                } else {
                    s.posizioni[posto[blocco(p)]++] = static_cast<std::uint32_t>(p);
                }
            }
            da = a;
        }
        if (giro == 0) {
            for (std::size_t b = 1; b < s.inizioBlocco.size(); ++b) {
                s.inizioBlocco[b] += s.inizioBlocco[b - 1];
            }
            s.posizioni.resize(s.inizioBlocco.back());
        }
    }
    return s;
}

/// Puts in the rows `s` holds the key of level `livello` of their codice fiscale,
/// in one pass over the file.
EsitoVuoto rileggiCf(const ArchivioLavoro& archivio, std::vector<std::uint64_t>& coppie,
                     const Sospese& s, std::size_t livello, Ordine ordine,
                     const Controllo& controllo, std::size_t parti) {
    constexpr std::uint64_t kBlocco = Scansione::kRecordPerBlocco;
    const std::size_t inizioCf = posizione(Campo::codicefiscale).inizio;
    const Esito<Lettura> letti =
        parallelo(archivio, controllo, parti, [&](std::size_t, const Blocco& blocco) {
            const std::uint64_t fine = blocco.primo() + blocco.size();
            const auto primo = static_cast<std::size_t>((blocco.primo() - 1) / kBlocco);
            const std::size_t ultimo =
                std::min(static_cast<std::size_t>((fine - 2) / kBlocco), s.inizioBlocco.size() - 2);
            const std::size_t fineGruppo = s.inizioBlocco[ultimo + 1];
            for (std::size_t i = s.inizioBlocco[primo]; i < fineGruppo; ++i) {
                // The rows' words lie anywhere in the sorted array, far larger than
                // the cache: the words of the rows a few ahead are fetched meanwhile.
                if (i + kAvantiCf < fineGruppo) {
                    __builtin_prefetch(&coppie[s.posizioni[i + kAvantiCf]], 1);
                }
                // A block of the file may share its group of rows with a block of
                // another part: each part writes its own rows' words and only reads
                // the others', atomically, to see they are not its own.
                std::atomic_ref<std::uint64_t> coppia(coppie[s.posizioni[i]]);
                const auto n = static_cast<std::uint32_t>(coppia.load(std::memory_order_relaxed));
                if (n < blocco.primo() || n >= fine) {
                    continue;
                }
                const std::uint32_t k =
                    chiaveCf(blocco.record(n - blocco.primo()).substr(inizioCf), livello);
                coppia.store((std::uint64_t{ordine.discendente ? ~k : k} << 32) | n,
                             std::memory_order_relaxed);
            }
            return EsitoVuoto(Nulla{});
        });
    if (!letti) {
        return letti.errore();
    }
    return Nulla{};
}

/// Sorts each run of two or more rows (a run begins where `inizio` is set) by
/// its new keys, and marks where those differ as the beginnings of new runs.
void ordinaDentro(std::vector<std::uint64_t>& coppie, std::vector<bool>& inizio) {
    for (std::size_t da = 0; da < coppie.size();) {
        std::size_t a = da + 1;
        while (!inizio[a]) {
            ++a;
        }
        if (a - da > 1) {
            std::sort(coppie.begin() + static_cast<std::ptrdiff_t>(da),
                      coppie.begin() + static_cast<std::ptrdiff_t>(a));
            for (std::size_t i = da + 1; i < a; ++i) {
                inizio[i] = (coppie[i] >> 32) != (coppie[i - 1] >> 32);
            }
        }
        da = a;
    }
}

/// Sorts the runs of equal codici fiscali that the first four bytes left, by the
/// next four at each pass over the file.
EsitoVuoto affinaCf(const ArchivioLavoro& archivio, std::vector<std::uint64_t>& coppie,
                    Ordine ordine, const Controllo& controllo, std::size_t parti,
                    std::uint64_t ultimo) {
    std::vector<bool> inizio(coppie.size() + 1, true);
    for (std::size_t i = 1; i < coppie.size(); ++i) {
        inizio[i] = (coppie[i] >> 32) != (coppie[i - 1] >> 32);
    }
    for (std::size_t livello = 1; livello < kLivelliCf; ++livello) {
        const Sospese s = sospese(coppie, inizio, ultimo);
        if (s.posizioni.empty()) {
            break;
        }
        if (EsitoVuoto esito = rileggiCf(archivio, coppie, s, livello, ordine, controllo, parti);
            !esito) {
            return esito;
        }
        ordinaDentro(coppie, inizio);
    }
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
    Esito<std::vector<std::uint64_t>> coppie = coppieDi(archivio, righe, ordine, controllo, parti);
    if (!coppie) {
        return coppie.errore();
    }
    std::sort(coppie->begin(), coppie->end());
    EsitoVuoto esito =
        ordine.colonna == ColonnaOrdine::codiceFiscale
            ? affinaCf(archivio, *coppie, ordine, controllo,
                       parti != 0 ? parti : partiPerScansione(righe.back()), righe.back())
            : ordinaAmbigue(archivio, *coppie, ordine, controllo);
    if (!esito) {
        return esito;
    }
    for (std::size_t i = 0; i < coppie->size(); ++i) {
        righe[i] = static_cast<std::uint32_t>((*coppie)[i]);
    }
    return Nulla{};
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
