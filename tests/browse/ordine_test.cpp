#include "browse/ordine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <numeric>
#include <string>
#include <vector>

#include "righe.h"

namespace pliventa {
namespace {

// Payments whose values make every kind of key meet its limits: dates that are no
// calendar day, codici fiscali alike in their first six bytes and bytes outside
// the codes, amounts with decimals, signs, beyond 2^30, and ties everywhere.
std::string archivioVario() {
    const auto riga = [](const char* data, const char* cf, const char* anno, const char* totale) {
        return test::pulito()
            .data(data)
            .cf(cf)
            .campo(Campo::annoimposta, anno)
            .campo(Campo::totale, totale);
    };
    return test::lavoro({
        riga("20030615", "RSSMRA80A01H501U", "03", "00000001000"),
        riga("20030631", "RSSMRA70A01H501U", "95", "-0000000012"),
        riga("19990101", "RSSMRA80A01H501U", "  ", "99999999999"),
        riga("20030615", "rssmra80a01h501u", "03", "12.05"),
        riga("        ", "RSSMRB80A01H501U", "05", "12.5"),
        riga("20030615", "RSS~RA80A01H501U", "05", "00000001000"),
        riga("20010101", "12345678901     ", "95", "-99999999999"),
        riga("20030615", "RSSMRA80A01H501", "03", "12"),
        riga("00000000", "                ", "03", "00000001000.5"),
        riga("20030615", "RSSMRA80A01H501U", "03", "99999999998"),
    });
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
    std::vector<std::pair<std::pair<double, std::string>, std::uint32_t>> valori;
    for (const std::uint32_t n : righe) {
        valori.emplace_back(valore(n), n);
    }
    std::stable_sort(valori.begin(), valori.end(), [&](const auto& x, const auto& y) {
        return o.discendente ? y.first < x.first : x.first < y.first;
    });
    for (std::size_t i = 0; i < righe.size(); ++i) {
        righe[i] = valori[i].second;
    }
    return righe;
}

// ordina() against atteso() for each column, both ways, for each set of rows, on
// one part or three.
void confronta(const ArchivioLavoro& a, std::initializer_list<ColonnaOrdine> colonne,
               std::initializer_list<std::vector<std::uint32_t>> insiemi) {
    for (const ColonnaOrdine c : colonne) {
        for (const bool giu : {false, true}) {
            for (const auto& righe : insiemi) {
                for (const std::size_t parti : {1u, 3u}) {
                    const Ordine o{c, giu};
                    std::vector<std::uint32_t> r = righe;
                    ASSERT_TRUE(ordina(a, r, o, {}, parti).ok());
                    EXPECT_EQ(r, atteso(a, righe, o))
                        << static_cast<int>(c) << (giu ? " desc" : "") << " parti " << parti;
                }
            }
        }
    }
}

// Rows ordered by code a batch at a time in a room of eight bytes a row (about
// two fifths of the rows at a time): blank codes; codes that share their first
// fourteen bytes held by more rows than the room takes (split by their next
// bytes, again and again) beside a few that share only their first eight; and
// one code held by more rows than the room takes (ordered by number alone).
std::string codiciStretti(std::uint32_t quanti) {
    std::string dati;
    for (std::uint32_t n = 0; n < quanti; ++n) {
        std::string cf;
        if (n % 11 == 0) {
            cf = "                ";
        } else if (n % 2 == 0) {
            cf = "VRDLGU70C02F205X";
        } else if (n % 9 == 1) {
            cf = "RSSMRA80B01H50" + std::to_string(n % 7) + "U";
        } else {
            cf = "RSSMRA80A01H50" + std::to_string(n % 7) + (n % 4 == 1 ? "U" : " ");
        }
        dati += test::pulito().cf(cf).record();
    }
    return dati;
}

TEST(Ordina, EveryColumnKindBothWaysTiesInFileOrderAndCodesInBatchesDownToOneCode) {
    const test::CartellaTemporanea cartella;
    const auto vario = ArchivioLavoro::apriarchivio(cartella.scrivi("vario.out", archivioVario()));
    ASSERT_TRUE(vario.ok());
    confronta(*vario,
              {ColonnaOrdine::numero, ColonnaOrdine::data, ColonnaOrdine::codiceFiscale,
               ColonnaOrdine::anno, ColonnaOrdine::totale},
              {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {2, 3, 4, 6, 9, 10}});
    // More records than one round of three parts reads: each part's rows of a
    // code come in several stretches.
    constexpr std::uint32_t kQuanti = 3 * 8 * 4096 + 7;
    const auto a = ArchivioLavoro::apriarchivio(cartella.scrivi("w.out", codiciStretti(kQuanti)));
    ASSERT_TRUE(a.ok());
    std::vector<std::uint32_t> tutte(kQuanti);
    std::iota(tutte.begin(), tutte.end(), 1U);
    std::vector<std::uint32_t> alcune;
    for (std::uint32_t n = 1; n <= kQuanti; n += 3) {
        alcune.push_back(n);
    }
    confronta(*a, {ColonnaOrdine::codiceFiscale}, {tutte, alcune});
}

TEST(Ordina, CodesChangedBetweenPassesAreAnErrorAndLeaveTheRows) {
    constexpr std::uint32_t kQuanti = 4096;
    // As each pass in turn begins every code becomes one code: a batch finds
    // more rows than were counted, or none, or a bucket counted again finds
    // another count.
    const std::string dati = codiciStretti(kQuanti);
    for (const char* cf : {"                ", "ZZZZZZ00Z00Z000Z"}) {
        const std::string altri = test::ripeti(test::pulito().cf(cf).record(), kQuanti);
        for (const bool giu : {false, true}) {
            for (std::uint64_t passo = 1;; ++passo) {
                const test::CartellaTemporanea cartella;
                const std::string percorso = cartella.scrivi("w.out", dati);
                const auto a = ArchivioLavoro::apriarchivio(percorso);
                ASSERT_TRUE(a.ok());
                // A pass of one part over one round tells its progress twice: as
                // it begins and as it ends.
                Controllo controllo;
                bool cambiato = false;
                std::uint64_t detti = 0;
                controllo.progresso = [&](std::uint64_t, std::uint64_t) {
                    if (detti++ == 2 * passo) {
                        cambiato = true;
                        cartella.scrivi("w.out", altri);
                    }
                };
                std::vector<std::uint32_t> r(kQuanti);
                std::iota(r.begin(), r.end(), 1U);
                const std::vector<std::uint32_t> prima = r;
                const EsitoVuoto esito =
                    ordina(*a, r, {ColonnaOrdine::codiceFiscale, giu}, controllo, 1);
                if (!cambiato) {
                    EXPECT_GT(passo, 3U);  // the last pass is over
                    break;
                }
                ASSERT_FALSE(esito.ok()) << cf << giu << passo;
                EXPECT_EQ(esito.errore().codice, CodiceErrore::InputOutput);
                EXPECT_EQ(esito.errore().percorso, percorso);
                EXPECT_EQ(r, prima);
            }
        }
    }
}

TEST(Ordina, ACancelOrAFileCutShortIsAnErrorAndLeavesTheRows) {
    const test::CartellaTemporanea cartella;
    const std::string percorso = cartella.scrivi("w.out", archivioVario());
    const auto a = ArchivioLavoro::apriarchivio(percorso);
    ASSERT_TRUE(a.ok());
    std::atomic<bool> annulla;
    Controllo controllo;
    controllo.annulla = &annulla;
    for (const bool annullato : {true, false}) {
        annulla = annullato;
        // Rows 11 and 12 were in the file when the filter read it, and are no more.
        const std::vector<std::uint32_t> righe = annullato
                                                     ? std::vector<std::uint32_t>{1, 2, 3}
                                                     : std::vector<std::uint32_t>{2, 9, 11, 12};
        for (const ColonnaOrdine c : {ColonnaOrdine::totale, ColonnaOrdine::codiceFiscale}) {
            std::vector<std::uint32_t> r = righe;
            const EsitoVuoto esito = ordina(*a, r, {c, false}, controllo);
            ASSERT_FALSE(esito.ok());
            EXPECT_EQ(esito.errore().codice,
                      annullato ? CodiceErrore::Annullato : CodiceErrore::InputOutput);
            EXPECT_EQ(esito.errore().percorso, percorso);
            EXPECT_EQ(r, righe);
        }
    }
}

TEST(Ordina, ColumnNamesAsTheCommandLineWritesThem) {
    EXPECT_EQ(ordineDaTesto("totale:desc"), (Ordine{ColonnaOrdine::totale, true}));
    EXPECT_EQ(ordineDaTesto("n:asc"), (Ordine{ColonnaOrdine::numero, false}));
    for (const char* sbagliato : {"", "Totale", "totale:", "totale:up", ":desc", "cf:desc:desc"}) {
        EXPECT_FALSE(ordineDaTesto(sbagliato).has_value()) << sbagliato;
    }
}

}  // namespace
}  // namespace pliventa
