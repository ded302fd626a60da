// The workbook writer on a fuzzed work file. The first byte chooses the options
// (currency, notice arrangement, a small sheet to reach its limit); the rest is the
// work file. The export must succeed, count every whole record once, leave a
// complete zip file and nothing else behind. Kept to small inputs: each run packs
// a workbook.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "export/celle.h"
#include "export/esportazione.h"
#include "records/archivio.h"
#include "records/versamento.h"
#include "supporto.h"

namespace pliventa::fuzz {
namespace {

// Larger inputs add time, not cases: 20 records are plenty.
constexpr std::size_t kMassimo = 20 * Versamento::kLunghezzaRecord + 1;

void verificaCelle(const Versamento& v, bool euro, LetturaAtto lettura) {
    for (const Cella& c : celleVersamento(v, euro, lettura)) {
        if (const auto* t = std::get_if<std::string>(&c)) {
            VERIFICA(utf8BenFormato(*t));
        } else if (const auto* d = std::get_if<double>(&c)) {
            VERIFICA(std::isfinite(*d));
        } else if (const auto* g = std::get_if<Giorno>(&c)) {
            VERIFICA(g->anno >= 1900 && g->mese >= 1 && g->mese <= 12 && g->giorno >= 1 &&
                     g->giorno <= 31);
        }
    }
}

}  // namespace
}  // namespace pliventa::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
    using namespace pliventa;
    using namespace pliventa::fuzz;
    if (n == 0 || n > kMassimo) {
        return 0;
    }
    const std::uint8_t scelta = dati[0];
    const std::string_view contenuto = testo(dati + 1, n - 1);
    OpzioniEsportazione opzioni;
    opzioni.valuta = (scelta & 1u) != 0 ? "L" : "E";
    opzioni.lettura = (scelta & 2u) != 0 ? LetturaAtto::breve : LetturaAtto::lunga;
    opzioni.nomeFoglio = "Estrazione 01-02-2003 04.05.06";
    opzioni.cartellaTemporanea = inCartella("temporanei");
    // Bits 2-4 ask for a sheet of 0 to 6 rows, 7 for the real size.
    const unsigned righe = (scelta >> 2) & 7u;
    opzioni.righeFoglio = righe == 7 ? kRigheFoglio : righe;

    const std::string lavoro = inCartella("lavoro.out");
    const std::string libro = inCartella("libro.xlsx");
    scriviFile(lavoro, contenuto);
    std::filesystem::create_directory(opzioni.cartellaTemporanea);
    const Esito<ArchivioLavoro> archivio = ArchivioLavoro::apriarchivio(lavoro);
    VERIFICA(archivio.ok());
    const Esito<RiepilogoEsportazione> esito = stampaexcel(*archivio, libro, opzioni);
    VERIFICA(esito.ok());

    const std::uint64_t interi = contenuto.size() / Versamento::kLunghezzaRecord;
    const std::uint64_t capienza = opzioni.righeFoglio > 2 ? opzioni.righeFoglio - 2 : 0;
    VERIFICA(esito->esportati == std::min(interi, capienza));
    VERIFICA(esito->esportati + esito->esclusi == interi);
    VERIFICA(esito->parziale == (contenuto.size() % Versamento::kLunghezzaRecord != 0));
    // A zip file: a local header first, the end of the central directory last.
    const std::string scritto = leggiFile(libro);
    VERIFICA(scritto.starts_with("PK\x03\x04"));
    VERIFICA(scritto.size() >= 22 && scritto.substr(scritto.size() - 22, 4) == "PK\x05\x06");
    VERIFICA(contenutoCartella() ==
             (std::vector<std::string>{"lavoro.out", "libro.xlsx", "temporanei"}));
    VERIFICA(std::filesystem::is_empty(opzioni.cartellaTemporanea));
    std::filesystem::remove(libro);

    for (std::uint64_t r = 0; r < interi; ++r) {
        const Versamento v = Versamento::daByte(contenuto.substr(r * Versamento::kLunghezzaRecord));
        verificaCelle(v, opzioni.valuta == "E", opzioni.lettura);
    }
    return 0;
}
