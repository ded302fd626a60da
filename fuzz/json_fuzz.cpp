// The JSON dump: the input is a work file, each whole record becomes one line,
// and every line must parse by the strict reader of supporto.cpp into an object
// whose texts decode back to the record's own fields.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/testo.h"
#include "cli/json.h"
#include "records/versamento.h"
#include "supporto.h"

namespace pliventa::fuzz {
namespace {

constexpr std::string_view kChiavi[] = {
    "record",
    "tipo",
    "violazione",
    "data_versamento",
    "codice_fiscale",
    "numero_fabbricati",
    "totale",
    "terreni",
    "aree_fabbricabili",
    "abitazione_principale",
    "detrazione",
    "altri_fabbricati",
    "anno",
    "numero_atto",
    "data_atto",
};

/// Checks one dumped line against the record it came from.
void verificaRiga(std::string_view riga, const Versamento& v, std::uint64_t numero,
                  const cli::OpzioniJson& opzioni) {
    ValoreJson j;
    VERIFICA(leggiJson(riga, j));
    VERIFICA(j.tipo == ValoreJson::Tipo::oggetto);
    VERIFICA(j.membri.size() == std::size(kChiavi));
    for (std::size_t i = 0; i < std::size(kChiavi); ++i) {
        VERIFICA(j.membri[i].chiave == kChiavi[i]);
    }
    VERIFICA(j["record"].testo == std::to_string(numero));
    VERIFICA(j["tipo"].testo == daCp1252(v.byte().substr(25, 1)));
    VERIFICA(j["violazione"].testo == (v.violazione() ? "true" : "false"));
    VERIFICA(j["data_versamento"].testo == daCp1252(v.dataVersamento()));
    VERIFICA(j["codice_fiscale"].testo == daCp1252(v.campo(Campo::codicefiscale)));
    for (std::string_view importo : {"totale", "terreni", "aree_fabbricabili",
                                     "abitazione_principale", "detrazione", "altri_fabbricati"}) {
        VERIFICA(j[importo].tipo == ValoreJson::Tipo::numero);
        // Cents always carry at least their two decimals.
        const std::string& t = j[importo].testo;
        VERIFICA(!opzioni.euro ||
                 (t.find('.') != std::string::npos && t.find('.') + 3 <= t.size()));
    }
    VERIFICA(j["numero_fabbricati"].tipo == ValoreJson::Tipo::numero);
    if (v.violazione()) {
        const EstremiAtto atto = v.estremi(opzioni.lettura);
        VERIFICA(j["anno"].tipo == ValoreJson::Tipo::nullo);
        VERIFICA(j["numero_atto"].testo == daCp1252(atto.numero));
        VERIFICA(j["data_atto"].testo == daCp1252(atto.data));
    } else {
        VERIFICA(j["anno"].testo == daCp1252(v.annoImpostaCompleto()));
        VERIFICA(j["numero_atto"].tipo == ValoreJson::Tipo::nullo);
        VERIFICA(j["data_atto"].tipo == ValoreJson::Tipo::nullo);
    }
}

}  // namespace
}  // namespace pliventa::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
    using namespace pliventa;
    using namespace pliventa::fuzz;
    const std::string_view input = testo(dati, n);

    // Any bytes as a JSON string, and any well-formed UTF-8.
    std::string s;
    cli::aggiungiStringa(s, input);
    ValoreJson j;
    VERIFICA(leggiJson(s, j) && j.testo == daCp1252(input));
    if (utf8BenFormato(input)) {
        s.clear();
        cli::aggiungiStringaUtf8(s, input);
        VERIFICA(leggiJson(s, j) && j.testo == input);
    }

    const std::size_t interi = input.size() / Versamento::kLunghezzaRecord;
    for (const bool euro : {true, false}) {
        for (const LetturaAtto lettura : {LetturaAtto::lunga, LetturaAtto::breve}) {
            const cli::OpzioniJson opzioni{euro, lettura};
            std::string dump;
            for (std::size_t r = 0; r < interi; ++r) {
                cli::aggiungiVersamento(
                    dump, Versamento::daByte(input.substr(r * Versamento::kLunghezzaRecord)), r + 1,
                    opzioni);
                dump += '\n';
            }
            const std::vector<std::string_view> linee = righe(dump);
            VERIFICA(linee.size() == interi);
            for (std::size_t r = 0; r < interi; ++r) {
                verificaRiga(linee[r],
                             Versamento::daByte(input.substr(r * Versamento::kLunghezzaRecord)),
                             r + 1, opzioni);
            }
        }
    }
    return 0;
}
