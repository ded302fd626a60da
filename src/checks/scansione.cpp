#include "checks/scansione.h"

#include <limits>

namespace pliventa {

Esito<AnomalieTrovate> cercaAnomalie(const ArchivioLavoro& archivio, const Controllo& controllo,
                                     std::size_t parti) {
    const Esito<std::uint64_t> byte = archivio.lunghezza();
    if (!byte) {
        return byte.errore();
    }
    const std::uint64_t totale = *byte / Versamento::kLunghezzaRecord;
    if (totale > std::numeric_limits<std::uint32_t>::max()) {
        return Errore{CodiceErrore::Uso, archivio.percorso(), "troppi versamenti da controllare"};
    }
    if (parti == 0) {
        parti = partiPerScansione(totale);
    }
    // Each part keeps what its run breaks; after each round the parts' findings
    // join the list in part order, which is record order.
    std::vector<AnomalieTrovate> perParte(parti);
    AnomalieTrovate trovate;
    const Esito<Lettura> letti = parallelo(
        archivio, controllo, parti,
        [&](std::size_t k, const Blocco& blocco) {
            AnomalieTrovate& t = perParte[k];
            for (std::size_t i = 0; i < blocco.size(); ++i) {
                const Violazioni violate = controlla(blocco.versamento(i));
                if (violate == 0) {
                    continue;
                }
                ++t.anomali;
                for (Regola r : kRegole) {
                    if (viola(violate, r)) {
                        t.anomalie.push_back({static_cast<std::uint32_t>(blocco.numero(i)), r});
                    }
                }
            }
            t.versamenti += blocco.size();
            return EsitoVuoto(Nulla{});
        },
        [&] {
            for (AnomalieTrovate& t : perParte) {
                trovate.anomalie.insert(trovate.anomalie.end(), t.anomalie.begin(),
                                        t.anomalie.end());
                t.anomalie.clear();
                trovate.anomali += std::exchange(t.anomali, 0);
                trovate.versamenti += std::exchange(t.versamenti, 0);
            }
            return EsitoVuoto(Nulla{});
        });
    if (!letti) {
        return letti.errore();
    }
    trovate.parziale = letti->parziale;
    return trovate;
}

}  // namespace pliventa
