#include "browse/elenco.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <utility>
#include <vector>

#include "browse/filtro.h"
#include "browse/ricerca.h"
#include "righe.h"

namespace pliventa {
namespace {

using test::CartellaTemporanea;
using test::RigaVersamento;

const std::size_t kCodice = indice(ColonnaElenco::codiceFiscale);

TEST(ElencoVersamenti, RowsReadAcrossBlocksUnfilteredAndFiltered) {
    CartellaTemporanea dir;
    auto a = ArchivioLavoro::apriarchivio(dir.scrivi("w", test::numerati(600, "X")));
    ASSERT_TRUE(a.ok());
    const struct {
        const char* nome;
        std::optional<std::vector<std::uint32_t>> numeri;
        std::vector<std::uint64_t> righe;  // asked in this order
    } casi[] = {
        {"intero", std::nullopt, {0, 255, 256, 599, 300, 0}},
        // Neighbours, a gap read through, a gap too wide, the last record.
        {"sparsi", std::vector<std::uint32_t>{1, 2, 18, 35, 36, 300, 301, 600}, {7, 0, 3, 2, 5}},
    };
    auto e = ElencoVersamenti::crea(*a, {});
    ASSERT_TRUE(e.ok());
    for (const auto& c : casi) {
        if (c.numeri) {
            e->applicaRighe(*c.numeri, true);
        }
        EXPECT_EQ(e->righe(), c.numeri ? c.numeri->size() : 600u);
        for (const std::uint64_t riga : c.righe) {
            SCOPED_TRACE(std::string(c.nome) + " " + std::to_string(riga));
            const std::uint64_t n = c.numeri ? (*c.numeri)[riga] : riga + 1;
            EXPECT_EQ(e->numeroRecord(riga), n);
            EXPECT_EQ(senzaSpazi(e->testo(riga, kCodice)),
                      std::string("X").append(std::to_string(n)));
            EXPECT_EQ(e->testo(riga, 0), std::to_string(n));
        }
        EXPECT_EQ(e->erroreLettura(), std::nullopt);
    }
    e->togliFiltro();
    EXPECT_EQ(e->righe(), 600u);
    EXPECT_EQ(senzaSpazi(e->testo(2, kCodice)), "X3");
}

// The fields are the record display's, formatted as the main window formats them:
// here, which field each column shows, and the format handed to them. (Of an
// ordinary payment, with the kind O and no notice, the copy's test.)
TEST(ElencoVersamenti, CellTextsOfAViolationRowInEachFormat) {
    const std::string violazione = RigaVersamento()
                                       .tipo('6')
                                       .data("20040110")
                                       .cf("BNCLRA80B41F205F")
                                       .campo(Campo::annoimposta, "03")
                                       // Fields 8 to 13, one after the other.
                                       .colonne(64,
                                                "00000123456000010000000000200000000003000"
                                                "000000040000000056")
                                       .campo(Campo::numerofabbricati, "0002")
                                       .campo(Campo::estremiatto, "3020021234567893112200200000")
                                       .record();
    CartellaTemporanea dir;
    auto a = ArchivioLavoro::apriarchivio(dir.scrivi("w", violazione));
    ASSERT_TRUE(a.ok());
    const struct {
        FormatoElenco formato;
        std::array<std::string, kColonneElenco> attesi;
    } casi[] = {
        // Euro with the user's separators; the notice read with the long arrangement.
        {{"E", LetturaAtto::lunga, {"'", "."}},
         {"1", "V", "10/01/2004", "BNCLRA80B41F205F", "03", "2", "1'234.56", "1'000.00", "200.00",
          "30.00", "4.00", "0.56", "123456789", "31/12/2002"}},
        // Lire; the notice read with the short arrangement of the 1997 files.
        {{"L", LetturaAtto::breve, {}},
         {"1", "V", "10/01/2004", "BNCLRA80B41F205F", "03", "2", "123.456", "100.000", "20.000",
          "3.000", "400", "56", "123456", "78/93/1122"}},
    };
    auto e = ElencoVersamenti::crea(*a, {});
    ASSERT_TRUE(e.ok());
    EXPECT_EQ(e->testo(0, indice(ColonnaElenco::totale)), "1.234,56");  // euro, Italian marks
    for (const auto& c : casi) {
        // A change of the currency box reaches the row already formatted.
        e->impostaFormato(c.formato);
        for (std::size_t k = 0; k < kColonneElenco; ++k) {
            EXPECT_EQ(e->testo(0, k), c.attesi[k]) << kIntestazioniElenco[k];
        }
    }
}

TEST(ElencoVersamenti, CopyIsOneTabSeparatedLinePerRow) {
    CartellaTemporanea dir;
    const std::string dati = test::numerati(1, "X") +
                             RigaVersamento().tipo('6').cf("AB\tCD").record() +
                             RigaVersamento()
                                 .tipo('3')
                                 .cf("=1+1")
                                 .data("000000-1")
                                 .campo(Campo::totale, "-0000000012")
                                 .record();
    auto a = ArchivioLavoro::apriarchivio(dir.scrivi("w", dati));
    ASSERT_TRUE(a.ok());
    auto e = ElencoVersamenti::crea(*a, {"L", LetturaAtto::lunga, {}});
    ASSERT_TRUE(e.ok());
    // A field as stored that begins like a formula stays text; the amounts stay
    // numbers, negative ones too.
    EXPECT_EQ(e->copiaTabulata({2}),
              "3\tO\t'-1/00/0000\t'=1+1            \t  \t0\t-12\t0\t0\t0\t0\t0\t\t\n");
    EXPECT_EQ(e->copiaTabulata({1, 0}),
              "2\tV\t  /  /    \tAB CD           \t  \t0\t0\t0\t0\t0\t0\t0\t         \t  /  /    \n"
              "1\tO\t  /  /    \tX1              \t  \t0\t0\t0\t0\t0\t0\t0\t\t\n");
}

std::vector<std::uint32_t> filtrati(const ArchivioLavoro& a, const Filtro& f, std::size_t parti) {
    auto r = filtra(a, f, {}, parti);
    EXPECT_TRUE(r.ok()) << r.errore().descrizione();
    return r.ok() ? *r : std::vector<std::uint32_t>{};
}

TEST(Filtro, EachCriterionAndCombined) {
    const auto riga = [](char tipo, std::string_view data, std::string_view cf,
                         std::string_view anno) {
        return RigaVersamento().tipo(tipo).data(data).cf(cf).campo(Campo::annoimposta, anno);
    };
    // Anomalies: 4 (31 February), 5 (codice fiscale), 7 (total without parts).
    const std::string dati =
        riga('3', "20030715", "RSSMRA70A01H501S", "03").record() +
        riga('6', "20040110", "RSSMRA70A01H501S", "03").record() +
        riga('3', "19960610", "BNCLRA80B41F205F", "95").record() +
        riga('6', "20030231", "BNCLRA80B41F205F", "03").record() +
        riga('3', "20030715", "RSSXXX", "03").record() +
        riga('3', "20040715", "VRDGPP13R10B293P", "04").record() +
        riga('3', "20030715", "01234567897", "03").campo(Campo::totale, "00000000100").record() +
        riga('6', "19970101", "RSSMRA70A01H501S", "95").record();
    CartellaTemporanea dir;
    auto a = ArchivioLavoro::apriarchivio(dir.scrivi("w", dati));
    ASSERT_TRUE(a.ok());
    using T = TipoFiltro;
    const struct {
        Filtro filtro;
        std::vector<std::uint32_t> attesi;
    } casi[] = {
        {{}, {1, 2, 3, 4, 5, 6, 7, 8}},
        {{.tipo = T::ordinario}, {1, 3, 5, 6, 7}},
        {{.tipo = T::violazione}, {2, 4, 8}},
        {{.anno = "03"}, {1, 2, 4, 5, 7}},
        {{.anno = " 2003 "}, {1, 2, 4, 5, 7}},
        {{.anno = "1995"}, {3, 8}},
        {{.anno = "1903"}, {}},                            // "03" is always 2003
        {{.prefisso = " rss"}, {1, 2, 5, 8}},              // the search rule: upper-cased, trimmed
        {{.prefisso = "\xE4\xB8\xAD"}, {}},                // cannot be in the file: nothing
        {{.prefisso = "\xE4\xB8\xAD", .anno = "03"}, {}},  // nor with a year that can
        {{.soloAnomalie = true}, {4, 5, 7}},
        {{.prefisso = "RSS", .anno = "03", .tipo = T::ordinario, .soloAnomalie = true}, {5}},
        {{.anno = "2003", .tipo = T::violazione, .soloAnomalie = true}, {4}},
    };
    for (const auto& c : casi) {
        EXPECT_EQ(filtrati(*a, c.filtro, 1), c.attesi)
            << "'" << c.filtro.prefisso << "' '" << c.filtro.anno << "' "
            << static_cast<int>(c.filtro.tipo) << " " << c.filtro.soloAnomalie;
    }
    // In parts on threads of their own, the matches come in record order all the
    // same; every repetition is a duplicate, an anomaly that the other criteria
    // still narrow.
    const std::string molti = test::ripeti(dati, 10000);
    auto b = ArchivioLavoro::apriarchivio(dir.scrivi("molti", molti));
    ASSERT_TRUE(b.ok());
    // The first eight's matches, then those of every repetition.
    const auto ripetuti = [](std::vector<std::uint32_t> primi, std::vector<std::uint32_t> poi) {
        for (std::uint32_t i = 1; i < 10000; ++i) {
            for (const std::uint32_t n : poi) {
                primi.push_back(8 * i + n);
            }
        }
        return primi;
    };
    EXPECT_EQ(filtrati(*b, {.soloAnomalie = true}, 3),
              ripetuti({4, 5, 7}, {1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(filtrati(*b, {.prefisso = "RSS", .soloAnomalie = true}, 3),
              ripetuti({5}, {1, 2, 5, 8}));

    // The window's cancel reaches the pass.
    const std::atomic<bool> annulla = true;
    Controllo controllo;
    controllo.annulla = &annulla;
    const auto annullato = filtra(*b, {.soloAnomalie = true}, controllo);
    ASSERT_FALSE(annullato.ok());
    EXPECT_EQ(annullato.errore().codice, CodiceErrore::Annullato);
}

// Whether the year typed can be one, which the window and the command line check
// before they scan.
TEST(Filtro, YearTypedIsTwoOrFourDigits) {
    for (const char* anno : {"", " 03 ", "2003"}) {
        EXPECT_TRUE(annoFiltroValido(anno)) << anno;
    }
    for (const char* anno : {"200", "o3", "20033", "-3"}) {
        EXPECT_FALSE(annoFiltroValido(anno)) << anno;
    }
}

// The key typed is upper-cased, trimmed and put in Windows-1252; the field is
// compared as stored from its first non-blank byte.
TEST(Ricerca, TypedKeyAgainstTheFieldAsStored) {
    const struct {
        std::string_view campo;  // field 5 as stored, 16 bytes
        std::string_view digitato;
        bool atteso;
    } casi[] = {
        {"RSSMRA70A01H501U", " rss ", true},
        {"RSSMRA70A01H501U", "", true},
        {"                ", "    ", true},
        {"  RSSMRA        ", "RSS", true},                 // leading blanks of the field ignored
        {"rssmra70a01h501u", "rss", false},                // the record's case is taken as stored
        {"RSSMRA70A01H501U", "RSSMRA70A01H501UX", false},  // key longer than the field
        {"RSS             ", "RSSM", false},               // longer than the trimmed field
        {"R SS            ", "RSS", false},                // inner blanks count
        {"\xC0ZC             ", "àz", true},               // "ÀZ": bytes C0 5A in Windows-1252
        {"\x80XY             ", "€x", true},               // the euro sign has a byte of its own
    };
    for (const auto& c : casi) {
        const std::optional<std::string> chiave = chiaveRicerca(c.digitato);
        ASSERT_TRUE(chiave) << c.digitato;
        EXPECT_EQ(corrisponde(c.campo, *chiave), c.atteso)
            << "'" << c.campo << "' / '" << c.digitato << "'";
    }
    EXPECT_EQ(chiaveRicerca("\xE4\xB8\xAD"), std::nullopt);  // no place in the code page
}

}  // namespace
}  // namespace pliventa
