#include "summary/riepilogo.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>
#include <numeric>
#include <unordered_map>

#include "checks/controlli.h"
#include "checks/duplicati.h"

namespace pliventa {

namespace {

// Field 1 opens with the collecting agent's code in columns 1-3; the municipality
// the tax is paid to follows as its four-character Belfiore code, columns 4-7.
constexpr Posizione kComune = {3, 4};

// The six amount fields lie side by side (columns 64-122); they are handled as one
// run of this many columns, a whole number of vector registers.
constexpr std::size_t kColonne = 64;

// A column gains at most 9 per record: a block's digit sums fit in 16 bits.
static_assert(9 * Scansione::kRecordPerBlocco <= 0xFFFF);

/// The sums of one kind of payment in a group while the pass runs. Whole values
/// are summed in 64-bit unsigned integers, which wrap: the sum is then exact modulo
/// 2^64, so it is right whenever the true sum fits in 64 bits, whatever the signs
/// on the way. The rare value with decimals (a lenient field) goes into an exact
/// sum of its own.
///
/// Amount fields are, as a rule, plain zero-filled digits. For those records the
/// digits are not turned into numbers one record at a time: each column's digits
/// are added up over the block, and at the end of the block each column's sum,
/// times its power of ten, goes to its field (the sum of the values is the sum of
/// each column's digits times its place value).
struct Somme {
    std::array<std::uint64_t, 6> unita{};  ///< by kCampiRiepilogo
    std::array<SommaEsatta, 6> decimali;
    std::array<std::uint16_t, kColonne> colonne{};  ///< this block's digit sums
    bool inSospeso = false;  ///< `colonne` holds sums not yet carried into `unita`

    /// The exact sums of the fields.
    std::array<SommaEsatta, 6> esatte() const {
        std::array<SommaEsatta, 6> out;
        for (std::size_t j = 0; j < out.size(); ++j) {
            out[j].aggiungi(static_cast<std::int64_t>(unita[j]));
            out[j].aggiungi(decimali[j]);
        }
        return out;
    }
};

/// One group while the pass runs: ordinary and violation payments keep different
/// amounts in the same fields, so each kind has sums of its own.
struct Accumulo {
    std::string chiave;
    char tipo = '\0';
    std::uint64_t versamenti = 0;
    std::uint64_t violazioni = 0;
    std::uint64_t anomalie = 0;
    Somme ordinari;
    Somme violazione;
    std::vector<std::uint64_t> record;  ///< for a statement
};

/// The groups of one grouping, found by the raw bytes of their key packed into an
/// integer. A small direct-mapped table in front of the map answers for the few
/// groups a file has (tens of years and months, a handful of municipalities)
/// without hashing through the map, whatever the order of the records.
class Indice {
public:
    /// The group of raw key `k`; `nuovo` fills in the key text and kind of a new one.
    template <typename F>
    Accumulo& di(std::uint64_t k, F&& nuovo) {
        Voce& voce = voci_[(k * 0x9E3779B97F4A7C15u) >> (64 - kBitVoci)];
        if (voce.gruppo != nullptr && voce.chiave == k) {
            return *voce.gruppo;
        }
        auto [it, inserito] = mappa_.try_emplace(k, nullptr);
        if (inserito) {
            Accumulo& a = gruppi_.emplace_back();
            nuovo(a);
            it->second = &a;
        }
        voce = Voce{k, it->second};
        return *voce.gruppo;
    }

    /// The groups with their sums made exact, ascending by key, then kind.
    std::vector<GruppoRiepilogo> risultato() const {
        std::vector<GruppoRiepilogo> out;
        out.reserve(gruppi_.size());
        for (const Accumulo& a : gruppi_) {
            GruppoRiepilogo g;
            g.chiave = a.chiave;
            g.tipo = a.tipo;
            g.versamenti = a.versamenti;
            g.violazioni = a.violazioni;
            g.anomalie = a.anomalie;
            g.ordinari = a.ordinari.esatte();
            g.violazione = a.violazione.esatte();
            g.record = a.record;
            out.push_back(std::move(g));
        }
        // std::string compares its bytes as unsigned: the order does not depend on
        // the signedness of char for Windows-1252 letters.
        std::sort(out.begin(), out.end(), [](const GruppoRiepilogo& x, const GruppoRiepilogo& y) {
            return x.chiave != y.chiave ? x.chiave < y.chiave : x.tipo < y.tipo;
        });
        return out;
    }

private:
    struct Voce {
        std::uint64_t chiave = 0;
        Accumulo* gruppo = nullptr;  ///< null: the slot is free
    };
    static constexpr unsigned kBitVoci = 7;

    std::deque<Accumulo> gruppi_;  ///< a deque: the map and the slots point into it
    std::unordered_map<std::uint64_t, Accumulo*> mappa_;
    std::array<Voce, std::size_t{1} << kBitVoci> voci_{};
};

/// The `N` bytes at `p` packed into an integer: one load of eight bytes, masked
/// (the keys lie well before the end of the record, so the eight are there).
template <std::size_t N>
std::uint64_t grezzi(const char* p) {
    static_assert(N > 0 && N < 8);
    std::uint64_t k = 0;
    std::memcpy(&k, p, 8);
    return k & ((std::uint64_t{1} << (8 * N)) - 1);
}

/// Reads an amount field that is not plain digits (a sign, blanks, decimals) by
/// the numeric value rule into whole units. Returns false, leaving `unita` alone,
/// when the value has decimals: the caller then sums it by the rule's digits.
bool unitaIntere(std::string_view campo, std::int64_t& unita) {
    const NumeroLetto letto = leggiNumero(campo);
    if (letto.decimali != 0) {
        return false;
    }
    // At most 11 digits, a field's width; none at all is 0.
    const std::int64_t n = valoreCifre(letto.cifre).value_or(0);
    unita = letto.negativo ? -n : n;
    return true;
}

/// Where the amount fields lie in the record, column by column.
struct Colonne {
    Colonne() {
        for (std::size_t j = 0; j < importi.size(); ++j) {
            importi[j] = posizione(kCampiRiepilogo[j]);
        }
        // The run of columns goes by position in the record, not by the order of
        // the summary's columns.
        std::array<std::size_t, 6> ordine{};
        std::iota(ordine.begin(), ordine.end(), std::size_t{0});
        std::sort(ordine.begin(), ordine.end(), [&](std::size_t x, std::size_t y) {
            return importi[x].inizio < importi[y].inizio;
        });
        inizio = importi[ordine[0]].inizio;
        std::size_t fine = inizio;
        for (std::size_t j : ordine) {
            contigue = contigue && importi[j].inizio == fine;
            fine = importi[j].inizio + importi[j].larghezza;
            std::uint64_t peso = 1;
            for (std::size_t c = fine; c-- > importi[j].inizio;) {
                if (c - inizio < kColonne) {
                    attive[c - inizio] = 0xFF;
                    pesi[c - inizio] = peso;
                    campi[c - inizio] = static_cast<std::uint8_t>(j);
                }
                peso *= 10;
            }
        }
        contigue = contigue && fine - inizio <= kColonne &&
                   inizio + kColonne <= Versamento::kLunghezzaRecord;
    }

    std::array<Posizione, 6> importi{};  ///< by kCampiRiepilogo
    std::size_t inizio = 0;              ///< offset of the first amount column
    bool contigue = true;                ///< the fields fill the run of columns without gaps
    std::array<std::uint8_t, kColonne> attive{};  ///< 0xFF for a column of a field
    std::array<std::uint64_t, kColonne> pesi{};   ///< a column's place value
    std::array<std::uint8_t, kColonne> campi{};   ///< a column's field, by kCampiRiepilogo
};

const Posizione kCodice = posizione(Campo::codicefiscale);

/// The codice fiscale field that holds `codice`: its text without the blanks at
/// its end, blank-filled to the field's width. A text longer than the field
/// matches no field: it is kept one byte too long.
std::string campoCodiceFiscale(std::string_view codice) {
    while (!codice.empty() && codice.back() == ' ') {
        codice.remove_suffix(1);
    }
    std::string campo(codice.substr(0, kCodice.larghezza + 1));
    if (campo.size() < kCodice.larghezza) {
        campo.resize(kCodice.larghezza, ' ');
    }
    return campo;
}

/// The pass itself: every record is added to its group of each grouping.
class Passata {
public:
    /// A pass that totals the tax-year groups, which give the grand total, and the
    /// groupings of `altri` (a bit for each Raggruppamento).
    /// Each group keeps the numbers of its payments when `conRecord`.
    Passata(unsigned altri, bool conRecord) : altri_(altri), conRecord_(conRecord) {}

    /// Adds record number `numero`, whose bytes are `record`.
    void aggiungi(std::string_view record, std::uint64_t numero) {
        const Versamento v = Versamento::daByte(record);
        const bool anomalo = controlla(v) != 0;
        const Importi importi = leggiImporti(record);
        const bool violazione = v.violazione();
        perGruppo(v, [&](Accumulo& g) {
            ++g.versamenti;
            g.violazioni += violazione ? 1 : 0;
            g.anomalie += anomalo ? 1 : 0;
            aggiungiImporti(violazione ? g.violazione : g.ordinari, importi, v);
            if (conRecord_) {
                g.record.push_back(numero);
            }
        });
    }

    /// Counts `v` among the anomalies of its groups: a payment that breaks no rule
    /// of its own but repeats an earlier one, which only the whole pass knows.
    void segnaAnomalo(const Versamento& v) {
        perGruppo(v, [](Accumulo& g) { ++g.anomalie; });
    }

    /// Calls `f` with the group of `v` in each grouping.
    template <typename F>
    void perGruppo(const Versamento& v, F&& f) {
        const char* r = v.byte().data();
        const bool violazione = v.violazione();
        f(indice(Raggruppamento::anno)
              .di(grezzi<2>(r + kAnno.inizio) | (violazione ? 1u << 16 : 0u), [&](Accumulo& a) {
                  a.chiave = v.annoImpostaCompleto();
                  a.tipo = violazione ? 'V' : 'O';
              }));
        // Year and month are adjacent (columns 27-32): the key holds both.
        if (chiesto(Raggruppamento::mese)) {
            f(indice(Raggruppamento::mese)
                  .di(grezzi<6>(r + kAnnoVersamento.inizio), [&](Accumulo& a) {
                      a.chiave = std::string(v.campo(Campo::annoversamento)) + "-" +
                                 std::string(v.campo(Campo::meseversamento));
                  }));
        }
        if (chiesto(Raggruppamento::comune)) {
            f(indice(Raggruppamento::comune).di(grezzi<4>(r + kComune.inizio), [&](Accumulo& a) {
                a.chiave = std::string(v.byte().substr(kComune.inizio, kComune.larghezza));
            }));
        }
    }

    /// The amounts of one record as the pass adds them.
    struct Importi {
        /// Every amount column is a digit: they are added column by column.
        bool cifreSole = false;
        // Not zeroed first: leggiImporti() writes every column before it is read.
        std::array<std::uint8_t, kColonne> cifre;  ///< when cifreSole
        std::array<std::int64_t, 6> unita{};       ///< otherwise, whole units (0 with decimals)
        unsigned conDecimali = 0;                  ///< otherwise, the fields (bits) with decimals
    };

    Importi leggiImporti(std::string_view record) const {
        const char* r = record.data();
        Importi out;
        // The amount columns' digits, and whether every one is a digit: one loop
        // over a fixed run of columns, which the compiler turns into a few vector
        // instructions.
        out.cifreSole = colonne_.contigue;
        if (out.cifreSole) {
            std::uint8_t fuori = 0;
            for (std::size_t c = 0; c < kColonne; ++c) {
                const auto d = static_cast<std::uint8_t>(r[colonne_.inizio + c] - '0');
                out.cifre[c] = d & colonne_.attive[c];
                fuori |= (d > 9 ? 0xFF : 0) & colonne_.attive[c];
            }
            out.cifreSole = fuori == 0;
        }
        if (!out.cifreSole) {
            for (std::size_t j = 0; j < out.unita.size(); ++j) {
                const Posizione p = colonne_.importi[j];
                if (!unitaIntere(record.substr(p.inizio, p.larghezza), out.unita[j])) {
                    out.conDecimali |= 1u << j;
                }
            }
        }
        return out;
    }

    void aggiungiImporti(Somme& a, const Importi& importi, const Versamento& v) {
        if (importi.cifreSole) {
            if (!a.inSospeso) {
                a.inSospeso = true;
                sospesi_.push_back(&a);
            }
            for (std::size_t c = 0; c < kColonne; ++c) {
                a.colonne[c] = static_cast<std::uint16_t>(a.colonne[c] + importi.cifre[c]);
            }
            return;
        }
        for (std::size_t j = 0; j < importi.unita.size(); ++j) {
            a.unita[j] += static_cast<std::uint64_t>(importi.unita[j]);
        }
        for (std::size_t j = 0; importi.conDecimali != 0 && j < importi.unita.size(); ++j) {
            if ((importi.conDecimali >> j) & 1u) {
                a.decimali[j].aggiungi(leggiNumero(v.campo(kCampiRiepilogo[j])));
            }
        }
    }

    /// Carries the block's digit sums into the groups' totals; due at least
    /// every kRecordPerBlocco records.
    void fineBlocco() {
        for (Somme* a : sospesi_) {
            for (std::size_t c = 0; c < kColonne; ++c) {
                a->unita[colonne_.campi[c]] += a->colonne[c] * colonne_.pesi[c];
            }
            a->colonne.fill(0);
            a->inSospeso = false;
        }
        sospesi_.clear();
    }

    /// The groups once the last block is done.
    Riepilogo risultato() const {
        Riepilogo out;
        for (Raggruppamento g : kRaggruppamenti) {
            out.gruppi[static_cast<std::size_t>(g)] = indice(g).risultato();
        }
        // Every payment has exactly one tax-year group: their sum is the grand total.
        for (const GruppoRiepilogo& g : out.per(Raggruppamento::anno)) {
            out.totale.versamenti += g.versamenti;
            out.totale.violazioni += g.violazioni;
            out.totale.anomalie += g.anomalie;
            for (std::size_t j = 0; j < kCampiRiepilogo.size(); ++j) {
                out.totale.ordinari[j].aggiungi(g.ordinari[j]);
                out.totale.violazione[j].aggiungi(g.violazione[j]);
            }
        }
        return out;
    }

private:
    bool chiesto(Raggruppamento g) const {
        return ((altri_ >> static_cast<unsigned>(g)) & 1u) != 0;
    }
    Indice& indice(Raggruppamento g) { return indici_[static_cast<std::size_t>(g)]; }
    const Indice& indice(Raggruppamento g) const { return indici_[static_cast<std::size_t>(g)]; }

    const Posizione kAnno = posizione(Campo::annoimposta);
    const Posizione kAnnoVersamento = posizione(Campo::annoversamento);
    const Colonne colonne_;
    unsigned altri_;
    bool conRecord_;
    std::array<Indice, 3> indici_;
    std::vector<Somme*> sospesi_;  ///< the sums with digit sums in this block
};

void aggiungiGruppo(GruppoRiepilogo& a, const GruppoRiepilogo& b) {
    a.versamenti += b.versamenti;
    a.violazioni += b.violazioni;
    a.anomalie += b.anomalie;
    for (std::size_t j = 0; j < kCampiRiepilogo.size(); ++j) {
        a.ordinari[j].aggiungi(b.ordinari[j]);
        a.violazione[j].aggiungi(b.violazione[j]);
    }
}

/// The groups of `a` and `b`, both ascending by key then kind, as one ascending
/// list: a group found in both is the sum of the two.
std::vector<GruppoRiepilogo> unisci(std::vector<GruppoRiepilogo> a,
                                    const std::vector<GruppoRiepilogo>& b) {
    std::vector<GruppoRiepilogo> out;
    out.reserve(a.size() + b.size());
    const auto prima = [](const GruppoRiepilogo& x, const GruppoRiepilogo& y) {
        return x.chiave != y.chiave ? x.chiave < y.chiave : x.tipo < y.tipo;
    };
    auto i = a.begin();
    auto j = b.begin();
    while (i != a.end() || j != b.end()) {
        if (j == b.end() || (i != a.end() && prima(*i, *j))) {
            out.push_back(std::move(*i++));
        } else if (i == a.end() || prima(*j, *i)) {
            out.push_back(*j++);
        } else {
            i->record.insert(i->record.end(), j->record.begin(), j->record.end());
            aggiungiGruppo(*i, *j++);
            out.push_back(std::move(*i++));
        }
    }
    return out;
}

/// The groupings `ambito` asks for, a bit for each Raggruppamento.
unsigned chiesti(const AmbitoRiepilogo& ambito) {
    unsigned altri = 0;
    for (Raggruppamento g : kRaggruppamenti) {
        if (!ambito.solo || *ambito.solo == g) {
            altri |= 1u << static_cast<unsigned>(g);
        }
    }
    return altri;
}

}  // namespace

Esito<Riepilogo> riepiloga(const ArchivioLavoro& archivio, const Controllo& controllo,
                           std::size_t parti, const AmbitoRiepilogo& ambito) {
    const Esito<std::uint64_t> byte = archivio.lunghezza();
    if (!byte) {
        return byte.errore();
    }
    const std::uint64_t versamenti = *byte / Versamento::kLunghezzaRecord;
    if (parti == 0) {
        parti = partiPerScansione(versamenti);
    }
    Esito<CercaDuplicati> duplicati = CercaDuplicati::per(archivio, versamenti, parti);
    if (!duplicati) {
        return duplicati.errore();
    }
    // Each part totals its own records; the groups of the parts are added up after.
    // A duplicate that breaks no other rule is counted after each round, in the
    // first part's groups: the counts add up the same.
    const unsigned altri = chiesti(ambito);
    const bool scheda = ambito.codiceFiscale.has_value();
    const std::string codice = scheda ? campoCodiceFiscale(*ambito.codiceFiscale) : std::string();
    std::vector<Passata> passate(parti, Passata(altri, scheda));
    const Esito<Lettura> letti = parallelo(
        archivio, controllo, parti,
        [&](std::size_t k, const Blocco& blocco) {
            Passata& passata = passate[k];
            for (std::size_t i = 0; i < blocco.size(); ++i) {
                const std::string_view record = blocco.record(i);
                if (scheda && record.substr(kCodice.inizio, kCodice.larghezza) != codice) {
                    continue;
                }
                passata.aggiungi(record, blocco.numero(i));
            }
            passata.fineBlocco();
            duplicati->annota(k, blocco);
            return EsitoVuoto(Nulla{});
        },
        [&] {
            return duplicati->fineGiro([&](const Duplicato&, const Versamento& copia) {
                // A statement counts its own payments only.
                const bool suo = !scheda || copia.campo(Campo::codicefiscale) == codice;
                if (suo && controlla(copia) == 0) {
                    passate.front().segnaAnomalo(copia);
                }
                return EsitoVuoto(Nulla{});
            });
        });
    if (!letti) {
        // Totals of part of a file would be set beside the treasurer's figures as
        // if they were the whole: a file changed midway is a failure.
        return letti.errore();
    }
    Riepilogo r = passate.front().risultato();
    for (std::size_t k = 1; k < passate.size(); ++k) {
        const Riepilogo parte = passate[k].risultato();
        for (Raggruppamento g : kRaggruppamenti) {
            auto& gruppi = r.gruppi[static_cast<std::size_t>(g)];
            gruppi = unisci(std::move(gruppi), parte.per(g));
        }
        aggiungiGruppo(r.totale, parte.totale);
    }
    // A part reads a run of records in each round, so the parts' numbers
    // interleave: put each group's back in file order.
    for (auto& gruppi : r.gruppi) {
        for (GruppoRiepilogo& g : gruppi) {
            std::sort(g.record.begin(), g.record.end());
        }
    }
    r.parziale = letti->parziale;
    r.archivio = archivio.percorso();
    return r;
}

}  // namespace pliventa
