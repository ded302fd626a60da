#include <gtest/gtest.h>

#include <vector>

#include "lancio.h"
#include "righe.h"

namespace pliventa {
namespace {

using test::CartellaTemporanea;
using test::lancia;
using test::RigaVersamento;

// The rules themselves are the checks' own tests; here only what the command
// adds: the lines, their order, the currency, the count and the exit code. Its
// usage and input errors are in the table of all the commands (uso_test).
TEST(CliCheck, OneLinePerRuleBrokenInRecordOrder) {
    CartellaTemporanea dir;
    const RigaVersamento pulito = test::pulito();
    // Record 2 breaks two rules, its codice fiscale holding a quote, È and a byte
    // Windows-1252 leaves undefined; record 3 is a credit.
    const std::string w = dir.scrivi(
        "w", pulito.record() +
                 RigaVersamento(pulito).data("20030231").cf("RSS\"\xC8\x81          ").record() +
                 RigaVersamento(pulito)
                     .colonne(63, "0-0000012345")
                     .campo(Campo::abitazioneprincipale, "-000012345")
                     .record() +
                 pulito.record().substr(0, 100));  // a final record cut short
    const std::string primo = R"({"record":2,"rule":"codice_fiscale","value":"RSS\"È\u0081"})"
                              "\n"
                              R"({"record":2,"rule":"data_versamento","value":"31/02/2003"})"
                              "\n";
    const struct {
        std::vector<std::string> opzioni;
        std::string atteso;
    } casi[] = {
        {{}, primo + R"({"record":3,"rule":"totale_negativo","value":"-123.45"})" + "\n"},
        {{"--valuta", "L"},
         primo + R"({"record":3,"rule":"totale_negativo","value":"-12345"})" + "\n"},
    };
    for (const auto& c : casi) {
        std::vector<std::string> argomenti = {"check", w};
        argomenti.insert(argomenti.end(), c.opzioni.begin(), c.opzioni.end());
        const auto r = lancia(argomenti);
        EXPECT_EQ(r.codice, 0) << r.err;  // anomalies are data, not an error
        EXPECT_EQ(r.out, c.atteso);
        EXPECT_EQ(r.err,
                  "controllati 3 versamenti, anomalie: 3 in 2 versamenti\npliventa-cli: " + w +
                      ": la lunghezza non è multipla di 202 byte, ignorato un record "
                      "finale incompleto\n");
    }
}

}  // namespace
}  // namespace pliventa
