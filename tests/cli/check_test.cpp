#include <gtest/gtest.h>

#include <vector>

#include "lancio.h"
#include "righe.h"

namespace pliventa {
namespace {

using test::CartellaTemporanea;
using test::lancia;
using test::RigaVersamento;

std::string riga(int record, std::string_view regola, std::string_view valore) {
    return "{\"record\":" + std::to_string(record) + ",\"rule\":\"" + std::string(regola) +
           "\",\"value\":\"" + std::string(valore) + "\"}\n";
}

// The rules themselves are the checks' own tests; here only what the command
// adds: the lines, their order, the currency, the count and the exit code. Its
// usage and input errors are in the table of all the commands (uso_test).
TEST(CliCheck, OneLinePerRuleBrokenInRecordOrder) {
    CartellaTemporanea dir;
    const RigaVersamento pulito = test::pulito();
    // Record 2 breaks two rules, its codice fiscale holding a quote, È and a byte
    // Windows-1252 leaves undefined; record 3 is a credit; 4 and 5 copy 1 and 2.
    const std::string due =
        RigaVersamento(pulito).data("20030231").cf("RSS\"\xC8\x81          ").record();
    const std::string w =
        dir.scrivi("w", pulito.record() + due +
                            RigaVersamento(pulito)
                                .colonne(63, "0-0000012345")
                                .campo(Campo::abitazioneprincipale, "-000012345")
                                .record() +
                            pulito.record() + due +
                            pulito.record().substr(0, 100));  // a final record cut short
    const auto righeDue = [](int n) {
        return riga(n, "codice_fiscale", R"(RSS\"È\u0081)") +
               riga(n, "data_versamento", "31/02/2003");
    };
    const std::string copie = riga(4, "duplicato", "uguale al versamento 1") + righeDue(5) +
                              riga(5, "duplicato", "uguale al versamento 2");
    for (const bool lire : {false, true}) {
        const auto r = lancia(lire ? std::vector<std::string>{"check", w, "--valuta", "L"}
                                   : std::vector<std::string>{"check", w});
        EXPECT_EQ(r.codice, 0) << r.err;  // anomalies are data, not an error
        EXPECT_EQ(r.out,
                  righeDue(2) + riga(3, "totale_negativo", lire ? "-12345" : "-123.45") + copie);
        EXPECT_EQ(r.err, "controllati 5 versamenti, anomalie: 7 in 4 versamenti\n" +
                             test::avvisoParziale(w));
    }
}

TEST(CliCheck, DuplicatesMergeWithTheOtherLinesAcrossParts) {
    // Enough payments for the pass to split them among the processors: a clean
    // one and one with a bad date, repeated, so that every repetition is a
    // duplicate and the lines of one round come from every part.
    constexpr int kVolte = 20000;
    const RigaVersamento buono = test::pulito();
    const RigaVersamento cattivo = RigaVersamento(buono).data("20030231");
    CartellaTemporanea dir;
    const std::string w = dir.scrivi("w", test::ripeti(buono.record() + cattivo.record(), kVolte));
    std::string atteso = riga(2, "data_versamento", "31/02/2003");
    for (int i = 1; i < kVolte; ++i) {
        atteso += riga(2 * i + 1, "duplicato", "uguale al versamento 1") +
                  riga(2 * i + 2, "data_versamento", "31/02/2003") +
                  riga(2 * i + 2, "duplicato", "uguale al versamento 2");
    }
    const auto r = lancia({"check", w});
    EXPECT_EQ(r.codice, 0) << r.err;
    EXPECT_EQ(r.out, atteso);
}

}  // namespace
}  // namespace pliventa
