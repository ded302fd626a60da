// Several inputs into one work file: the concatenation of their single imports,
// and the old work file kept when any input fails or the import is cancelled.
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "importers/importatori.h"
#include "importers/importazione.h"
#include "righe.h"

namespace pliventa {
namespace {

using test::CartellaTemporanea;
using test::leggiFile;
using test::nomi;

const std::string kF24 = std::string(PLIVENTA_SAMPLES_DIR) + "/f24.txt";

std::vector<Ingresso> ingressi(Tracciato tracciato, const std::vector<std::string>& percorsi) {
    std::vector<Ingresso> out;
    for (const std::string& p : percorsi) {
        out.push_back({p, nuovaTrasformazione(tracciato)});
    }
    return out;
}

// F24 numbers its records by the lines it has taken: each input starts again from
// 1, as when it is imported alone.
TEST(ImportaTutti, IsTheConcatenationOfTheSingleImports) {
    CartellaTemporanea dir;
    const std::string altro = dir.scrivi("altro.txt", leggiFile(kF24).substr(0, 4000));
    const std::string solo1 = dir.file("solo1");
    const std::string solo2 = dir.file("solo2");
    const auto uno = importa(kF24, solo1, *nuovaTrasformazione(Tracciato::f24));
    const auto due = importa(altro, solo2, *nuovaTrasformazione(Tracciato::f24));
    ASSERT_TRUE(uno.ok() && due.ok());

    auto in = ingressi(Tracciato::f24, {kF24, altro});
    const Esito<std::vector<Conteggi>> c = importaTutti(in, dir.file("iciview.out"));
    ASSERT_TRUE(c.ok()) << c.errore().descrizione();
    EXPECT_EQ(leggiFile(dir.file("iciview.out")), leggiFile(solo1) + leggiFile(solo2));
    ASSERT_EQ(c->size(), 2u);
    for (const auto& [tutti, solo] : {std::pair((*c)[0], *uno), std::pair((*c)[1], *due)}) {
        EXPECT_EQ(tutti.righeLette, solo.righeLette);
        EXPECT_EQ(tutti.righeScartate, solo.righeScartate);
        EXPECT_EQ(tutti.versamenti, solo.versamenti);
        EXPECT_EQ(tutti.importiFuoriFormato, solo.importiFuoriFormato);
    }
}

TEST(ImportaTutti, AFailureOrACancelOnAnyInputKeepsTheOldWorkFile) {
    CartellaTemporanea dir;
    const std::string out = dir.scrivi("iciview.out", "vecchio");
    const std::string mancante = dir.file("mancante");
    auto in = ingressi(Tracciato::f24, {kF24, mancante});
    const Esito<std::vector<Conteggi>> c = importaTutti(in, out);
    ASSERT_FALSE(c.ok());
    EXPECT_EQ(c.errore().percorso, mancante);

    // Cancelled while the second input is read: the first is already written.
    std::atomic<bool> annulla{false};
    Controllo controllo;
    controllo.annulla = &annulla;
    const std::uint64_t primo = leggiFile(kF24).size();
    controllo.progresso = [&](std::uint64_t fatti, std::uint64_t totale) {
        EXPECT_EQ(totale, 2 * primo);
        annulla = fatti >= primo;
    };
    auto due = ingressi(Tracciato::f24, {kF24, kF24});
    const Esito<std::vector<Conteggi>> annullato = importaTutti(due, out, controllo);
    ASSERT_FALSE(annullato.ok());
    EXPECT_EQ(annullato.errore().codice, CodiceErrore::Annullato);
    EXPECT_EQ(leggiFile(out), "vecchio");
    EXPECT_EQ(nomi(dir), std::vector<std::string>{"iciview.out"});
}

}  // namespace
}  // namespace pliventa
