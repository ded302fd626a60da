#include "checks/scansione.h"

#include <algorithm>
#include <limits>

namespace pliventa {

std::uint32_t AnomalieTrovate::originale(std::uint32_t numero) const {
    const auto d =
        std::lower_bound(duplicati.begin(), duplicati.end(), numero,
                         [](const Duplicato& x, std::uint32_t n) { return x.numero < n; });
    return d != duplicati.end() && d->numero == numero ? d->originale : 0;
}

Esito<AnomalieTrovate> cercaAnomalie(const ArchivioLavoro& archivio, const Controllo& controllo,
                                     std::size_t parti) {
    const Esito<std::uint64_t> byte = archivio.lunghezza();
    if (!byte) {
        return byte.errore();
    }
    const std::uint64_t totale = *byte / Versamento::kLunghezzaRecord;
    if (parti == 0) {
        parti = partiPerScansione(totale);
    }
    Esito<CercaDuplicati> duplicati = CercaDuplicati::per(archivio, totale, parti);
    if (!duplicati) {
        return duplicati.errore();
    }
    // Each part keeps what its run breaks; after each round the parts' findings
    // join the list in part order, which is record order, and the round's
    // duplicates are merged in behind the other rules of their record.
    std::vector<AnomalieTrovate> perParte(parti);
    AnomalieTrovate trovate;
    const auto prima = [](const Anomalia& x, const Anomalia& y) {
        return x.numero != y.numero ? x.numero < y.numero : x.regola < y.regola;
    };
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
            duplicati->annota(k, blocco);
            return EsitoVuoto(Nulla{});
        },
        [&] {
            const std::size_t inizio = trovate.anomalie.size();
            for (AnomalieTrovate& t : perParte) {
                trovate.anomalie.insert(trovate.anomalie.end(), t.anomalie.begin(),
                                        t.anomalie.end());
                t.anomalie.clear();
                trovate.anomali += std::exchange(t.anomali, 0);
                trovate.versamenti += std::exchange(t.versamenti, 0);
            }
            const std::size_t mezzo = trovate.anomalie.size();
            EsitoVuoto e = duplicati->fineGiro([&](const Duplicato& d, const Versamento& copia) {
                trovate.anomalie.push_back({d.numero, Regola::duplicato});
                trovate.duplicati.push_back(d);
                trovate.anomali += controlla(copia) == 0 ? 1 : 0;
                return EsitoVuoto(Nulla{});
            });
            const auto da = trovate.anomalie.begin();
            std::inplace_merge(da + static_cast<std::ptrdiff_t>(inizio),
                               da + static_cast<std::ptrdiff_t>(mezzo), trovate.anomalie.end(),
                               prima);
            return e;
        });
    if (!letti) {
        return letti.errore();
    }
    trovate.parziale = letti->parziale;
    return trovate;
}

}  // namespace pliventa
