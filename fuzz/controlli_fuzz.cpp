// The checks on a fuzzed work file: each rule's bit is the rule's own answer, the
// quick whole-number paths agree with exact sums of the fields, every value shown
// for a rule is text the window can print, and the scan of the file lists exactly
// the rules each record breaks, in order, every later copy of a payment included.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "checks/controlli.h"
#include "checks/scansione.h"
#include "records/archivio.h"
#include "records/somma.h"
#include "records/versamento.h"
#include "supporto.h"
#include "uguali.h"

namespace pliventa::fuzz {
namespace {

SommaEsatta esatta(std::string_view campo) {
    SommaEsatta s;
    s.aggiungi(leggiNumero(campo));
    return s;
}

/// Checks one record; returns the rules it breaks.
Violazioni verificaVersamento(const Versamento& v) {
    const Violazioni violate = controlla(v);
    VERIFICA(viola(violate, Regola::codice_fiscale) ==
             !codiceFiscaleValido(senzaSpazi(v.campo(Campo::codicefiscale))));
    VERIFICA(viola(violate, Regola::data_versamento) == !dataVersamentoValida(v));
    VERIFICA(viola(violate, Regola::anno_imposta) == !annoImpostaValido(v));
    VERIFICA(viola(violate, Regola::totale_negativo) == !totaleNonNegativo(v));
    VERIFICA(viola(violate, Regola::somma_parti) == !sommaPartiCorretta(v));
    VERIFICA(violate < (1u << kRegole.size()));

    // The exact reckoning: an ordinary payment's total is its four kinds of
    // property; a violation payment's adds the interest kept in the deduction field.
    SommaEsatta parti;
    for (const Campo c : {Campo::terreni, Campo::areefabbricabili, Campo::abitazioneprincipale,
                          Campo::altrifabbricati}) {
        parti.aggiungi(esatta(v.campo(c)));
    }
    if (v.violazione()) {
        parti.aggiungi(esatta(v.campo(Campo::detrazione)));
    }
    VERIFICA(sommaPartiCorretta(v) == (esatta(v.campo(Campo::totale)) == parti));
    VERIFICA(totaleNonNegativo(v) == !esatta(v.campo(Campo::totale)).negativa());

    const std::string_view cf = senzaSpazi(v.campo(Campo::codicefiscale));
    if (codiceFiscaleValido(cf)) {
        VERIFICA(cf.size() == 16 || cf.size() == 11);
        VERIFICA(cf.find_first_not_of("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ") ==
                 std::string_view::npos);
    }
    for (const Regola r : kRegole) {
        for (const bool euro : {true, false}) {
            VERIFICA(utf8BenFormato(valoreControllato(v, r, euro)));
        }
    }
    return violate;
}

}  // namespace
}  // namespace pliventa::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
    using namespace pliventa;
    using namespace pliventa::fuzz;
    const std::string_view input = testo(dati, n);
    const std::size_t interi = input.size() / Versamento::kLunghezzaRecord;
    std::vector<Anomalia> attese;
    std::vector<Duplicato> duplicati;
    std::uint64_t anomali = 0;
    for (std::size_t i = 0; i < interi; ++i) {
        const Versamento v = Versamento::daByte(input.substr(i * Versamento::kLunghezzaRecord));
        const Violazioni violate = verificaVersamento(v);
        const std::uint32_t originale = primoUguale(input, i);
        const auto numero = static_cast<std::uint32_t>(i + 1);
        anomali += violate != 0 || originale != 0 ? 1 : 0;
        for (const Regola r : kRegole) {
            if (viola(violate, r)) {
                attese.push_back({numero, r});
            }
        }
        VERIFICA(!viola(violate, Regola::duplicato));
        if (originale != 0) {
            attese.push_back({numero, Regola::duplicato});
            duplicati.push_back({numero, originale});
            VERIFICA(valoreControllato(v, Regola::duplicato, true, originale) ==
                     "uguale al versamento " + std::to_string(originale));
        }
    }
    // A short input is one record too, padded as the window pads a cut last record.
    if (input.size() < Versamento::kLunghezzaRecord) {
        verificaVersamento(Versamento::daByte(input));
    }

    const std::string lavoro = inCartella("lavoro.out");
    scriviFile(lavoro, input);
    const Esito<ArchivioLavoro> archivio = ArchivioLavoro::apriarchivio(lavoro);
    VERIFICA(archivio.ok());
    const Esito<AnomalieTrovate> trovate = cercaAnomalie(*archivio);
    VERIFICA(trovate.ok());
    VERIFICA(trovate->versamenti == interi);
    VERIFICA(trovate->anomali == anomali);
    VERIFICA(trovate->anomalie == attese);
    VERIFICA(trovate->duplicati == duplicati);
    VERIFICA(trovate->parziale == (input.size() % Versamento::kLunghezzaRecord != 0));
    // Read in three parts, the duplicates looked up on three threads: the same findings.
    const Esito<AnomalieTrovate> inTre = cercaAnomalie(*archivio, {}, 3);
    VERIFICA(inTre.ok());
    VERIFICA(inTre->anomalie == attese);
    VERIFICA(inTre->duplicati == duplicati);
    return 0;
}
