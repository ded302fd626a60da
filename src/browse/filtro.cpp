#include "browse/filtro.h"

#include <algorithm>
#include <cmath>

#include "browse/ricerca.h"
#include "checks/controlli.h"

namespace pliventa {

namespace {

// Records read with one system call, as the search reads them: about 800 KB.
constexpr std::size_t kRecordPerBlocco = 4096;

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
        return !anomalie_ || controlla(Versamento::daByte(record)) != 0;
    }

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

Esito<std::vector<std::uint32_t>> filtra(const ArchivioLavoro& archivio, const Filtro& filtro,
                                         const std::atomic<bool>& annulla,
                                         const ProgressoFiltro& progresso) {
    const Esito<double> conteggio = archivio.numerorecord();
    if (!conteggio) {
        return conteggio.errore();
    }
    // A trailing partial record is not a payment: the scan stops at the whole part.
    std::uint64_t totale = static_cast<std::uint64_t>(std::floor(*conteggio));
    if (totale > kMassimoVersamentiElenco) {
        return Errore{CodiceErrore::Uso, archivio.percorso(),
                      "il file di lavoro ha troppi versamenti per l'elenco"};
    }
    const Criteri criteri(filtro);
    std::vector<std::uint32_t> numeri;
    if (criteri.nessuno()) {
        if (progresso) {
            progresso(totale, totale);
        }
        return numeri;
    }
    if (progresso) {
        progresso(0, totale);
    }
    std::string blocco;
    std::uint64_t primo = 1;
    while (primo <= totale) {
        if (annulla.load(std::memory_order_relaxed)) {
            return Errore{CodiceErrore::Annullato, archivio.percorso(), "filtro annullato"};
        }
        const auto quanti =
            static_cast<std::size_t>(std::min<std::uint64_t>(kRecordPerBlocco, totale - primo + 1));
        const Esito<std::size_t> letti = archivio.leggiblocco(primo, quanti, blocco);
        if (!letti) {
            return letti.errore();
        }
        if (*letti == 0) {
            // The file was cut short since the count was taken: nothing more to see.
            totale = primo - 1;
        }
        for (std::size_t i = 0; i < *letti; ++i) {
            const std::string_view record(blocco.data() + i * Versamento::kLunghezzaRecord,
                                          Versamento::kLunghezzaRecord);
            if (criteri.tiene(record)) {
                numeri.push_back(static_cast<std::uint32_t>(primo + i));
            }
        }
        primo += *letti;
        if (progresso) {
            progresso(primo - 1, totale);
        }
    }
    return numeri;
}

}  // namespace pliventa
