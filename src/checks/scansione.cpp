#include "checks/scansione.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace pliventa {

namespace {

constexpr std::size_t kRecordPerBlocco = 4096;

}  // namespace

Esito<AnomalieTrovate> cercaAnomalie(const ArchivioLavoro& archivio,
                                     const ControlloScansione& controllo) {
    const Esito<double> conteggio = archivio.numerorecord();
    if (!conteggio) {
        return conteggio.errore();
    }
    AnomalieTrovate trovate;
    const auto interi = static_cast<std::uint64_t>(std::floor(*conteggio));
    trovate.parziale = *conteggio > std::floor(*conteggio);
    if (interi > std::numeric_limits<std::uint32_t>::max()) {
        return Errore{CodiceErrore::Uso, archivio.percorso(), "troppi versamenti da controllare"};
    }
    std::string blocco;
    for (std::uint64_t primo = 1; primo <= interi;) {
        if (controllo.annulla != nullptr && controllo.annulla->load()) {
            return Errore{CodiceErrore::Annullato, archivio.percorso(), "controllo annullato"};
        }
        const auto quanti =
            static_cast<std::size_t>(std::min<std::uint64_t>(kRecordPerBlocco, interi - primo + 1));
        const Esito<std::size_t> letti = archivio.leggiblocco(primo, quanti, blocco);
        if (!letti) {
            return letti.errore();
        }
        if (*letti == 0) {
            break;  // the file shrank meanwhile: what is left is checked
        }
        for (std::size_t i = 0; i < *letti; ++i) {
            const Versamento v = Versamento::daByte(std::string_view(blocco).substr(
                i * Versamento::kLunghezzaRecord, Versamento::kLunghezzaRecord));
            const Violazioni violate = controlla(v);
            if (violate == 0) {
                continue;
            }
            ++trovate.anomali;
            for (Regola r : kRegole) {
                if (viola(violate, r)) {
                    trovate.anomalie.push_back({static_cast<std::uint32_t>(primo + i), r});
                }
            }
        }
        primo += *letti;
        trovate.versamenti += *letti;
        if (controllo.progresso) {
            controllo.progresso(trovate.versamenti, interi);
        }
    }
    return trovate;
}

}  // namespace pliventa
