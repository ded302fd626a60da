// The summary of a fuzzed work file against a plain reckoning: every record read
// on its own by the numeric value rule, summed exactly into its group of each
// grouping. The groups and the grand total must match it to the last decimal, and
// each grouping must add up to the grand total.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "checks/controlli.h"
#include "records/archivio.h"
#include "records/somma.h"
#include "records/versamento.h"
#include "summary/riepilogo.h"
#include "supporto.h"
#include "uguali.h"

namespace pliventa::fuzz {
namespace {

/// A group's key as the order of the summary has it: its bytes unsigned, then kind.
struct Chiave {
    std::string testo;
    char tipo = '\0';
    bool operator<(const Chiave& a) const {
        if (testo != a.testo) {
            return std::lexicographical_compare(
                testo.begin(), testo.end(), a.testo.begin(), a.testo.end(), [](char x, char y) {
                    return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
                });
        }
        return tipo < a.tipo;
    }
};

using Gruppi = std::map<Chiave, GruppoRiepilogo>;

void aggiungi(GruppoRiepilogo& g, const Versamento& v, bool anomalo) {
    ++g.versamenti;
    g.violazioni += v.violazione() ? 1 : 0;
    g.anomalie += anomalo ? 1 : 0;
    for (std::size_t j = 0; j < kCampiRiepilogo.size(); ++j) {
        (v.violazione() ? g.violazione : g.ordinari)[j].aggiungi(
            leggiNumero(v.campo(kCampiRiepilogo[j])));
    }
}

void verificaUguali(const GruppoRiepilogo& a, const GruppoRiepilogo& b) {
    VERIFICA(a.versamenti == b.versamenti);
    VERIFICA(a.violazioni == b.violazioni);
    VERIFICA(a.anomalie == b.anomalie);
    VERIFICA(a.ordinari == b.ordinari);
    VERIFICA(a.violazione == b.violazione);
}

}  // namespace
}  // namespace pliventa::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
    using namespace pliventa;
    using namespace pliventa::fuzz;
    const std::string_view input = testo(dati, n);
    const std::string lavoro = inCartella("lavoro.out");
    scriviFile(lavoro, input);
    const Esito<ArchivioLavoro> archivio = ArchivioLavoro::apriarchivio(lavoro);
    VERIFICA(archivio.ok());
    const Esito<Riepilogo> esito = riepiloga(*archivio);
    VERIFICA(esito.ok());
    const Riepilogo& r = *esito;
    VERIFICA(r.parziale == (input.size() % Versamento::kLunghezzaRecord != 0));
    VERIFICA(r.archivio == lavoro);

    std::array<Gruppi, 3> attesi;
    GruppoRiepilogo totale;
    const std::size_t interi = input.size() / Versamento::kLunghezzaRecord;
    for (std::size_t i = 0; i < interi; ++i) {
        const Versamento v = Versamento::daByte(input.substr(i * Versamento::kLunghezzaRecord));
        const bool anomalo = controlla(v) != 0 || primoUguale(input, i) != 0;
        const char tipo = v.violazione() ? 'V' : 'O';
        const std::string mese = std::string(v.campo(Campo::annoversamento)) + "-" +
                                 std::string(v.campo(Campo::meseversamento));
        const std::string comune(v.byte().substr(3, 4));
        for (const auto& [g, chiave] :
             {std::pair{Raggruppamento::anno, Chiave{v.annoImpostaCompleto(), tipo}},
              std::pair{Raggruppamento::mese, Chiave{mese, '\0'}},
              std::pair{Raggruppamento::comune, Chiave{comune, '\0'}}}) {
            GruppoRiepilogo& gruppo = attesi[static_cast<std::size_t>(g)][chiave];
            gruppo.chiave = chiave.testo;
            gruppo.tipo = chiave.tipo;
            aggiungi(gruppo, v, anomalo);
        }
        aggiungi(totale, v, anomalo);
    }
    verificaUguali(r.totale, totale);
    VERIFICA(r.totale.chiave.empty() && r.totale.tipo == '\0');

    for (const Raggruppamento g : kRaggruppamenti) {
        const Gruppi& atteso = attesi[static_cast<std::size_t>(g)];
        const auto& gruppi = r.per(g);
        VERIFICA(gruppi.size() == atteso.size());
        // In ascending order, the same groups, and together the grand total.
        GruppoRiepilogo somma;
        std::size_t i = 0;
        for (const auto& [chiave, gruppo] : atteso) {
            VERIFICA(gruppi[i].chiave == chiave.testo);
            VERIFICA(gruppi[i].tipo == chiave.tipo);
            verificaUguali(gruppi[i], gruppo);
            somma.versamenti += gruppi[i].versamenti;
            somma.violazioni += gruppi[i].violazioni;
            somma.anomalie += gruppi[i].anomalie;
            for (std::size_t j = 0; j < kCampiRiepilogo.size(); ++j) {
                somma.ordinari[j].aggiungi(gruppi[i].ordinari[j]);
                somma.violazione[j].aggiungi(gruppi[i].violazione[j]);
            }
            ++i;
        }
        verificaUguali(somma, r.totale);
    }
    return 0;
}
