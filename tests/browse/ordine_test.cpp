#include "browse/ordine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "righe.h"

namespace pliventa {
namespace {

using test::RigaVersamento;

// Payments whose values make every kind of key meet its limits: dates that are no
// calendar day, codici fiscali alike in their first six bytes and bytes outside
// the codes, amounts with decimals, signs, beyond 2^30, and ties everywhere.
std::string archivioVario() {
    const struct {
        const char* data;
        const char* cf;
        const char* anno;
        const char* totale;
    } righe[] = {
        {"20030615", "RSSMRA80A01H501U", "03", "00000001000"},
        {"20030631", "RSSMRA70A01H501U", "95", "-0000000012"},
        {"19990101", "RSSMRA80A01H501U", "  ", "99999999999"},
        {"20030615", "rssmra80a01h501u", "03", "12.05"},
        {"        ", "RSSMRB80A01H501U", "05", "12.5"},
        {"20030615", "RSS~RA80A01H501U", "05", "00000001000"},
        {"20010101", "12345678901     ", "95", "-99999999999"},
        {"20030615", "RSSMRA80A01H501", "03", "12"},
        {"00000000", "", "03", "00000001000.5"},
        {"20030615", "RSSMRA80A01H501U", "03", "99999999998"},
    };
    std::string dati;
    for (const auto& r : righe) {
        dati += test::pulito()
                    .data(r.data)
                    .cf(r.cf)
                    .campo(Campo::annoimposta, r.anno)
                    .campo(Campo::totale, r.totale)
                    .record();
    }
    return dati;
}

// The order by the column's true value, ties in file order: what ordina() must give.
std::vector<std::uint32_t> atteso(const ArchivioLavoro& a, std::vector<std::uint32_t> righe,
                                  Ordine o) {
    const auto valore = [&](std::uint32_t n) -> std::pair<double, std::string> {
        const Versamento v = *a.leggirecord(n);
        switch (o.colonna) {
            case ColonnaOrdine::data: {
                const auto g = v.giornoVersamento();
                return {g ? g->anno * 10000.0 + g->mese * 100 + g->giorno : 0, ""};
            }
            case ColonnaOrdine::codiceFiscale:
                return {0, std::string(v.campo(Campo::codicefiscale))};
            case ColonnaOrdine::anno:
                return {v.annoImposta().value_or(0), ""};
            case ColonnaOrdine::totale:
                return {valoreNumerico(v.campo(Campo::totale)), ""};
            default:
                return {n, ""};
        }
    };
    std::stable_sort(righe.begin(), righe.end(), [&](std::uint32_t x, std::uint32_t y) {
        return o.discendente ? valore(y) < valore(x) : valore(x) < valore(y);
    });
    return righe;
}

TEST(Ordina, EveryColumnKindBothWaysTiesInFileOrder) {
    const test::CartellaTemporanea cartella;
    const auto a = ArchivioLavoro::apriarchivio(cartella.scrivi("w.out", archivioVario()));
    ASSERT_TRUE(a.ok());
    const std::vector<std::uint32_t> tutte = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const std::vector<std::uint32_t> alcune = {2, 3, 4, 6, 9, 10};
    for (const ColonnaOrdine c :
         {ColonnaOrdine::numero, ColonnaOrdine::data, ColonnaOrdine::codiceFiscale,
          ColonnaOrdine::anno, ColonnaOrdine::totale}) {
        for (const bool giu : {false, true}) {
            for (const auto& righe : {tutte, alcune}) {
                for (const std::size_t parti : {1u, 3u}) {
                    const Ordine o{c, giu};
                    std::vector<std::uint32_t> r = righe;
                    ASSERT_TRUE(ordina(*a, r, o, {}, parti).ok());
                    EXPECT_EQ(r, atteso(*a, righe, o))
                        << static_cast<int>(c) << (giu ? " desc" : "") << " parti " << parti;
                }
            }
        }
    }
}

TEST(Ordina, CodesThatTieInTheirFirstBytesAcrossManyBlocks) {
    // Codes from a small pool that share their first four, eight and twelve bytes,
    // spread over several blocks of the file, every other record in the list.
    std::string dati;
    for (std::uint32_t n = 0; n < 3 * 4096 + 5; ++n) {
        const std::string cf = "RSSMRA80" + std::string(1, static_cast<char>('A' + n % 3)) +
                               "01H50" + std::to_string(n % 7) + (n % 2 ? "U" : "");
        dati += test::pulito().cf(cf).record();
    }
    const test::CartellaTemporanea cartella;
    const auto a = ArchivioLavoro::apriarchivio(cartella.scrivi("w.out", dati));
    ASSERT_TRUE(a.ok());
    std::vector<std::uint32_t> righe;
    for (std::uint32_t n = 1; n <= 3 * 4096 + 5; n += 2) {
        righe.push_back(n);
    }
    for (const bool giu : {false, true}) {
        const Ordine o{ColonnaOrdine::codiceFiscale, giu};
        std::vector<std::uint32_t> r = righe;
        ASSERT_TRUE(ordina(*a, r, o, {}, 2).ok());
        EXPECT_EQ(r, atteso(*a, righe, o)) << giu;
    }
}

TEST(Ordina, CancelLeavesTheRowsAsTheyWere) {
    const test::CartellaTemporanea cartella;
    const auto a = ArchivioLavoro::apriarchivio(cartella.scrivi("w.out", archivioVario()));
    ASSERT_TRUE(a.ok());
    std::atomic<bool> annulla{true};
    Controllo controllo;
    controllo.annulla = &annulla;
    std::vector<std::uint32_t> r = {1, 2, 3};
    const EsitoVuoto esito = ordina(*a, r, {ColonnaOrdine::totale, false}, controllo);
    ASSERT_FALSE(esito.ok());
    EXPECT_EQ(esito.errore().codice, CodiceErrore::Annullato);
    EXPECT_EQ(r, (std::vector<std::uint32_t>{1, 2, 3}));
}

TEST(Ordina, ColumnNamesAsTheCommandLineWritesThem) {
    EXPECT_EQ(ordineDaTesto("totale:desc"), (Ordine{ColonnaOrdine::totale, true}));
    EXPECT_EQ(ordineDaTesto("aree_fabbricabili"), (Ordine{ColonnaOrdine::areeFabbricabili}));
    EXPECT_EQ(ordineDaTesto("n:asc"), (Ordine{ColonnaOrdine::numero, false}));
    for (const char* sbagliato : {"", "Totale", "totale:", "totale:up", ":desc", "cf:desc:desc"}) {
        EXPECT_FALSE(ordineDaTesto(sbagliato).has_value()) << sbagliato;
    }
}

}  // namespace
}  // namespace pliventa
