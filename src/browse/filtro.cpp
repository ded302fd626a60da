#include "browse/filtro.h"

#include <algorithm>

#include "browse/ricerca.h"
#include "checks/controlli.h"
#include "checks/duplicati.h"

namespace pliventa {

namespace {

// The two characters of field 6 that the typed year stands for; nullopt when no
// record can have that year. A four-digit year is turned back into the two
// stored digits and kept only if the window's completion gives it again: "1903"
// matches nothing, since "03" is always read as 2003.
std::optional<std::string> annoCercato(std::string_view digitato) {
    const std::string_view anno = senzaSpazi(digitato);
    if (!annoFiltroValido(anno)) {
        return std::nullopt;
    }
    if (anno.size() == 2) {
        return std::string(anno);
    }
    const std::string_view stored = anno.substr(2);
    if (annoCompleto(stored) != anno) {
        return std::nullopt;
    }
    return std::string(stored);
}

// The filter compiled once for the scan, the cheap byte comparisons first and the
// checks, which read and convert several fields, last.
class Criteri {
public:
    explicit Criteri(const Filtro& f) : tipo_(f.tipo), anomalie_(f.soloAnomalie) {
        if (!senzaSpazi(f.prefisso).empty()) {
            prefisso_ = chiaveRicerca(f.prefisso);
            nessuno_ = !prefisso_.has_value();
        }
        if (!senzaSpazi(f.anno).empty()) {
            anno_ = annoCercato(f.anno);
            nessuno_ = nessuno_ || !anno_.has_value();
        }
    }

    /// True when no record can match (an unencodable prefix, an impossible year).
    bool nessuno() const { return nessuno_; }

    bool tiene(std::string_view record) const {
        return tieneSenzaControlli(record) &&
               (!anomalie_ || controlla(Versamento::daByte(record)) != 0);
    }

    /// Every criterion but the checks.
    bool tieneSenzaControlli(std::string_view record) const {
        // Column 26 holds "6" for a payment on a violation notice, as
        // Versamento::violazione() reads it.
        if (tipo_ != TipoFiltro::qualsiasi &&
            (record[25] == '6') != (tipo_ == TipoFiltro::violazione)) {
            return false;
        }
        if (anno_ && record.substr(campoAnno_.inizio, campoAnno_.larghezza) != *anno_) {
            return false;
        }
        if (prefisso_ &&
            !corrisponde(record.substr(campoCodice_.inizio, campoCodice_.larghezza), *prefisso_)) {
            return false;
        }
        return true;
    }

    bool soloAnomalie() const { return anomalie_; }

private:
    const Posizione campoAnno_ = posizione(Campo::annoimposta);
    const Posizione campoCodice_ = posizione(Campo::codicefiscale);
    TipoFiltro tipo_;
    bool anomalie_;
    bool nessuno_ = false;
    std::optional<std::string> prefisso_;
    std::optional<std::string> anno_;
};

}  // namespace

bool Filtro::vuoto() const {
    return senzaSpazi(prefisso).empty() && senzaSpazi(anno).empty() &&
           tipo == TipoFiltro::qualsiasi && !soloAnomalie;
}

bool annoFiltroValido(std::string_view anno) {
    const std::string_view a = senzaSpazi(anno);
    return a.empty() || ((a.size() == 2 || a.size() == 4) && valoreCifre(a).has_value());
}

Esito<std::uint64_t> versamentiElenco(const ArchivioLavoro& archivio) {
    const Esito<std::uint64_t> byte = archivio.lunghezza();
    if (!byte) {
        return byte.errore();
    }
    const std::uint64_t totale = *byte / Versamento::kLunghezzaRecord;
    if (totale > kMassimoVersamentiElenco) {
        return Errore{CodiceErrore::Uso, archivio.percorso(),
                      "il file di lavoro ha troppi versamenti per l'elenco"};
    }
    return totale;
}

Esito<std::vector<std::uint32_t>> filtra(const ArchivioLavoro& archivio, const Filtro& filtro,
                                         const Controllo& controllo, std::size_t parti) {
    const Esito<std::uint64_t> quanti = versamentiElenco(archivio);
    if (!quanti) {
        return quanti.errore();
    }
    const std::uint64_t totale = *quanti;
    const Criteri criteri(filtro);
    std::vector<std::uint32_t> numeri;
    if (criteri.nessuno()) {
        controllo.avanza(totale, totale);
        return numeri;
    }
    if (parti == 0) {
        parti = partiPerScansione(totale);
    }
    // A payment that repeats an earlier one is an anomaly that only the whole
    // file shows: the duplicates are looked for only when the anomalies are asked.
    std::optional<CercaDuplicati> duplicati;
    if (criteri.soloAnomalie()) {
        Esito<CercaDuplicati> c = CercaDuplicati::per(archivio, totale, parti);
        if (!c) {
            return c.errore();
        }
        duplicati.emplace(std::move(*c));
    }
    // Each part keeps the matches of its run; after each round they join the list
    // in part order, which is record order, and the round's duplicates that break
    // no other rule are merged in.
    std::vector<std::vector<std::uint32_t>> perParte(parti);
    const Esito<Lettura> letti = parallelo(
        archivio, controllo, parti,
        [&](std::size_t k, const Blocco& blocco) {
            for (std::size_t i = 0; i < blocco.size(); ++i) {
                if (criteri.tiene(blocco.record(i))) {
                    perParte[k].push_back(static_cast<std::uint32_t>(blocco.numero(i)));
                }
            }
            if (duplicati) {
                duplicati->annota(k, blocco);
            }
            return EsitoVuoto(Nulla{});
        },
        [&] {
            const std::size_t inizio = numeri.size();
            for (std::vector<std::uint32_t>& p : perParte) {
                numeri.insert(numeri.end(), p.begin(), p.end());
                p.clear();
            }
            if (!duplicati) {
                return EsitoVuoto(Nulla{});
            }
            const std::size_t mezzo = numeri.size();
            EsitoVuoto e = duplicati->fineGiro([&](const Duplicato& d, const Versamento& copia) {
                if (controlla(copia) == 0 && criteri.tieneSenzaControlli(copia.byte())) {
                    numeri.push_back(d.numero);
                }
                return EsitoVuoto(Nulla{});
            });
            std::inplace_merge(numeri.begin() + static_cast<std::ptrdiff_t>(inizio),
                               numeri.begin() + static_cast<std::ptrdiff_t>(mezzo), numeri.end());
            return e;
        });
    if (!letti) {
        return letti.errore();
    }
    return numeri;
}

}  // namespace pliventa
