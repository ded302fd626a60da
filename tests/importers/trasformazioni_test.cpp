// The transformations of the layouts: ANCI-CNC 2000 and the 1997 violations copy
// payment lines, CNC 1997 widens them, F24 sums a payment's lines into a record.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "importers/importatori.h"
#include "righe.h"

namespace pliventa {
namespace {

using test::RigaVersamento;

/// What a transformation made of some lines: the lines written (as handed to the
/// writer, before padding), how many input lines it took and how many amounts it
/// found out of format.
struct Raccolta final : Uscita {
    std::vector<std::string> righe;
    int prese = 0;
    std::uint64_t fuoriFormato = 0;
    void scrivi(std::string_view riga) override { righe.emplace_back(riga); }
};

/// Passes `righe` to a new transformation of `tracciato`, then ends it.
Raccolta applica(Tracciato tracciato, const std::vector<std::string>& righe) {
    Raccolta r;
    auto t = nuovaTrasformazione(tracciato);
    for (const std::string& s : righe) {
        r.prese += t->riga(Riga{s, s.size()}, r) ? 1 : 0;
    }
    t->fine(r);
    r.fuoriFormato = t->importiFuoriFormato();
    return r;
}

std::string conTipo(std::string riga, char tipo) {
    riga[25] = tipo;
    return riga;
}

// The lines taken are handed over whole, every byte kept, in the order read: of
// ANCI-CNC 2000 the payments of both kinds (type 3 or 6 in column 26), of the 1997
// violations those of type 6; not the header, the trailer, other types, short lines.
TEST(Filtri, RecordTypeDecidesWhichLinesAreTaken) {
    const std::string base =
        RigaVersamento().data("20050616").cf("A\xe8").colonne(123, "\xc8\x80\xff").str();
    const std::vector<std::string> righe = {
        conTipo(base, '0'),          conTipo(base, '3'),         conTipo(base, '6'),
        conTipo(base, '4'),          base.substr(0, 25),         conTipo(base, '6').substr(0, 26),
        std::string(25, '3') + "x3", conTipo(base, '3') + "x  ", conTipo(base, '9')};
    const auto a = applica(Tracciato::cnc2000, righe);
    EXPECT_EQ(a.righe, (std::vector<std::string>{righe[1], righe[2], righe[5], righe[7]}));
    EXPECT_EQ(a.prese, 4);
    const auto v = applica(Tracciato::viol1997, righe);
    EXPECT_EQ(v.righe, (std::vector<std::string>{righe[2], righe[5]}));
    EXPECT_EQ(v.prese, 2);
}

/// A 1997-layout line of `n` characters whose every column holds a character
/// that tells it apart from its neighbours, type "3" and year `anno`.
std::string riga1997(std::size_t n, std::string_view anno) {
    std::string s(std::max<std::size_t>(n, 28), ' ');
    for (std::size_t i = 0; i < s.size(); ++i) {
        s[i] = static_cast<char>('A' + (i * 7) % 58);
    }
    s.resize(n);
    s.at(25) = '3';
    s.replace(26, 2, anno);
    return s;
}

// The century goes before the two-digit year, and columns 155-156 are written
// twice. Handed over whole: the writer cuts what passes column 200, and counts it.
TEST(Cnc1997, CenturyFromTheTwoDigitYearAndColumns155And156Repeated) {
    const struct {
        std::size_t n;
        const char* anno;
        const char* secolo;
    } casi[] = {
        {196, "97", "19"}, {196, "92", "20"},  // the highest two digits read in the 2000s
        {200, "01", "20"}, {230, "  ", "20"}, {196, "9x", "20"},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.anno);
        const std::string in = riga1997(c.n, c.anno);
        const auto r = applica(Tracciato::cnc1997, {in});
        ASSERT_EQ(r.righe.size(), 1u);
        EXPECT_EQ(r.righe[0], in.substr(0, 26) + c.secolo + in.substr(26, 130) + in.substr(154, 2) +
                                  in.substr(156));
    }
}

/// An F24 line built field by field; the columns the import does not read hold "#".
struct G1 {
    std::string tipo = "G1", cf = "RSSMRA80A01Z999X", comune = "Z999", tributo = "3901";
    std::string anno = "05", debito = std::string(15, '0'), credito = std::string(15, '0');
    std::string flag = "10", fabbricati = "  2", detrazione = "00010329";
    char imposta = 'I';
    std::size_t lunghezza = 275;

    G1& cod(std::string t, long long dare, long long avere = 0) {
        tributo = std::move(t);
        debito = std::string(15 - std::to_string(dare).size(), '0') + std::to_string(dare);
        credito = std::string(15 - std::to_string(avere).size(), '0') + std::to_string(avere);
        return *this;
    }
    /// Sets one field: G1().con(&G1::cf, "...").
    template <class T>
    G1& con(T G1::*campo, std::type_identity_t<T> valore) {
        this->*campo = std::move(valore);
        return *this;
    }
    std::string str() const {
        std::string s(std::max<std::size_t>(lunghezza, 260), '#');
        const std::pair<std::size_t, std::string_view> campi[] = {
            {1, tipo},      {50, cf},    {67, "20050616"},  {75, comune},
            {79, tributo},  {88, "20"},  {90, anno},        {96, debito},
            {111, credito}, {128, flag}, {130, fabbricati}, {141, detrazione}};
        for (const auto& [colonna, valore] : campi) {
            s.replace(colonna - 1, valore.size(), valore);
        }
        s[259] = imposta;
        return s.substr(0, lunghezza);
    }
};

std::vector<std::string> righe(std::initializer_list<G1> g) {
    std::vector<std::string> v;
    for (const G1& x : g) {
        v.push_back(x.str());
    }
    return v;
}

std::string campo(const std::string& s, Campo c) {
    return std::string(Versamento::daByte(s).campo(c));
}

TEST(F24, OneGroupGivesOneFullRecordAtTheEnd) {
    const auto r = applica(Tracciato::f24, righe({G1().cod("3901", 12345), G1().cod("3904", 67890),
                                                  G1().cod("3906", 500)
                                                      .con(&G1::comune, "Z998")
                                                      .con(&G1::fabbricati, " 12")
                                                      .con(&G1::detrazione, "00000777")}));
    EXPECT_EQ(r.prese, 3);
    ASSERT_EQ(r.righe.size(), 1u);
    const std::string atteso = RigaVersamento()
                                   .colonne(1, "999Z998000000000000000003")  // counter 3
                                   .tipo('6')                                // code 3906 last
                                   .colonne(27, "20050616RSSMRA80A01Z999X05")
                                   .colonne(63, "000000080735")  // 12345+67890+500
                                   .colonne(75, "0000000000")    // 3902: none
                                   .colonne(85, "0000000500")    // violation: 3906
                                   .colonne(95, "0000012345")    // 3901
                                   .colonne(105, "0000067890")   // 3904
                                   .colonne(115, "00000777")     // deduction, last line
                                   .colonne(123, "002000000001")
                                   .colonne(160, "99999")
                                   .colonne(165, "0012")
                                   .colonne(169, "1020")
                                   .colonne(173, "05")
                                   .colonne(175, std::string(26, '0'))
                                   .str();
    EXPECT_EQ(r.righe[0], atteso);
}

// The record type follows the group's last line; a credit is written negative.
TEST(F24, RecordTypeViolationFieldsAndAmountTexts) {
    const struct {
        const char* nome;
        std::vector<std::string> righe;
        char tipo;
        const char *aree, *abitazione, *detrazione;  // fields 10, 11 (code 3901), 13
        const char* totale;                          // columns 63-74
    } casi[] = {
        // 3904, the other buildings, is ordinary: the type follows the last line.
        {"3906 first", righe({G1().cod("3906", 300), G1().cod("3901", 100), G1().cod("3904", 200)}),
         '3', "0000000000", "0000000100", "00010329", "000000000600"},
        {"3903 kept in ordinary", righe({G1().cod("3903", 40), G1().cod("3901", 1)}), '3',
         "0000000040", "0000000001", "00010329", "000000000041"},
        {"3905 interest, last eight", righe({G1().cod("3905", 123456789)}), '6', "0000000000",
         "0000000000", "23456789", "000123456789"},
        {"3906 replaces 3903", righe({G1().cod("3903", 40), G1().cod("3906", 7)}), '6',
         "0000000007", "0000000000", "00010329", "000000000047"},
        {"other code above 3904", righe({G1().cod("3901", 5), G1().cod("3950", 9)}), '6',
         "0000000000", "0000000005", "00010329", "000000000014"},
        {"code without digits", righe({G1().cod("ABCD", 9)}), '3', "0000000000", "0000000000",
         "00010329", "000000000009"},
        {"debit", righe({G1().cod("3901", 1234567890123)}), '3', "0000000000", "4567890123",
         "00010329", "004567890123"},
        {"credit", righe({G1().cod("3904", 1000), G1().cod("3901", 0, 300)}), '3', "0000000000",
         "-000000300", "00010329", "000000000700"},
        {"debit and credit take the credit", righe({G1().cod("3901", 900, 25)}), '3', "0000000000",
         "-000000025", "00010329", "0-0000000025"},
        {"both zero empties the code", righe({G1().cod("3901", 900), G1().cod("3901", 0)}), '3',
         "0000000000", "0000000000", "00010329", "000000000900"},
        {"negative total", righe({G1().cod("3901", 0, 500), G1().cod("3904", 200)}), '3',
         "0000000000", "-000000500", "00010329", "0-0000000300"},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.nome);
        const auto r = applica(Tracciato::f24, c.righe);
        ASSERT_EQ(r.righe.size(), 1u);
        EXPECT_EQ(r.righe[0][25], c.tipo);
        EXPECT_EQ(campo(r.righe[0], Campo::areefabbricabili), c.aree);
        EXPECT_EQ(campo(r.righe[0], Campo::abitazioneprincipale), c.abitazione);
        EXPECT_EQ(campo(r.righe[0], Campo::detrazione), c.detrazione);
        EXPECT_EQ(r.righe[0].substr(62, 12), c.totale);
    }
}

TEST(F24, AmountsWiderThanTheirFieldAreWrittenCutAndCounted) {
    const auto volte = [](std::size_t n, const G1& g) {
        return std::vector<std::string>(n, g.str());
    };
    const struct {
        const char* nome;
        std::vector<std::string> righe;
        std::uint64_t fuori;
    } casi[] = {
        {"debit of ten digits", righe({G1().cod("3901", 9'999'999'999)}), 0},
        {"debit of eleven", righe({G1().cod("3901", 10'000'000'000)}), 1},
        {"credit of nine", righe({G1().cod("3901", 0, 999'999'999)}), 0},
        {"credit of ten", righe({G1().cod("3901", 0, 1'000'000'000)}), 1},
        {"total of eleven digits", volte(10, G1().cod("3901", 9'999'999'999)), 0},
        {"total of twelve", volte(11, G1().cod("3901", 9'999'999'999)), 1},
        {"interest of eight digits", righe({G1().cod("3905", 12'345'678)}), 0},
        {"interest of nine", righe({G1().cod("3905", 123'456'789)}), 1},
        {"interest credit loses its sign", righe({G1().cod("3905", 0, 25)}), 1},
    };
    for (const auto& c : casi) {
        EXPECT_EQ(applica(Tracciato::f24, c.righe).fuoriFormato, c.fuori) << c.nome;
    }
}

TEST(F24, LinesThatAreNotIciF24AreNotCounted) {
    const G1 altraImposta = G1().cod("3901", 7).con(&G1::imposta, 'E');
    const G1 corta = G1().cod("3901", 7).con(&G1::lunghezza, 259);
    // Lines skipped, an empty one too, between two lines of one payment keep the group.
    const auto r = applica(
        Tracciato::f24,
        righe({G1().cod("3901", 10), altraImposta, G1().cod("3901", 7).con(&G1::imposta, 'i'),
               G1().cod("3901", 7).con(&G1::tipo, "G2"), corta, G1().con(&G1::lunghezza, 0),
               G1().cod("3904", 1).con(&G1::lunghezza, 260)}));
    EXPECT_EQ(r.prese, 2);
    ASSERT_EQ(r.righe.size(), 1u);
    EXPECT_EQ(r.righe[0].substr(7, 18), "000000000000000002");
    EXPECT_EQ(r.righe[0].substr(62, 12), "000000000011");
    EXPECT_TRUE(applica(Tracciato::f24, righe({altraImposta, corta})).righe.empty());
}

// The instalment flags become one code; the number of properties is zero-filled.
TEST(F24, InstalmentFlagsAndNumberOfProperties) {
    const struct {
        const char* flag;
        char codice;
        const char* fabbricati;
        const char* numero;
    } casi[] = {{"10", '1', " 12", "0012"}, {"01", '2', "   ", "0000"}, {"11", '3', "123", "0123"},
                {"00", '4', "5  ", "0005"}, {"  ", ' ', "007", "0007"}, {"21", '2', "  2", "0002"}};
    for (const auto& c : casi) {
        const G1 g = G1().cod("3901", 1).con(&G1::flag, c.flag).con(&G1::fabbricati, c.fabbricati);
        const auto r = applica(Tracciato::f24, righe({g, g}));
        ASSERT_EQ(r.righe.size(), 1u) << c.flag;
        EXPECT_EQ(r.righe[0][168], c.codice) << c.flag;
        EXPECT_EQ(campo(r.righe[0], Campo::numerofabbricati), c.numero) << c.fabbricati;
    }
}

TEST(F24, GroupBreaks) {
    const struct {
        const char* nome;
        G1 seconda;
        std::size_t record;
    } casi[] = {
        {"same key", G1().cod("3904", 2), 1},
        {"other payer", G1().cod("3904", 2).con(&G1::cf, "VRDLGU70B02Z999Y"), 2},
        {"other year", G1().cod("3904", 2).con(&G1::anno, "04"), 2},
        {"municipality only", G1().cod("3904", 2).con(&G1::comune, "Z998"), 1},
    };
    for (const auto& c : casi) {
        const auto r = applica(Tracciato::f24, righe({G1().cod("3901", 1), c.seconda}));
        EXPECT_EQ(r.righe.size(), c.record) << c.nome;
    }
    // The same payer again after another one opens a new group. Each record has the
    // amounts and the line counter of its own group.
    const G1 a = G1().cod("3901", 1), b = G1().cod("3904", 2).con(&G1::cf, "VRDLGU70B02Z999Y");
    const auto r = applica(Tracciato::f24, righe({a, b, a}));
    ASSERT_EQ(r.righe.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(r.righe[i].substr(62, 12), i == 1 ? "000000000002" : "000000000001");
        EXPECT_EQ(r.righe[i].substr(7, 18), std::string(17, '0') + std::to_string(i + 1));
    }
    EXPECT_EQ(campo(r.righe[1], Campo::abitazioneprincipale), "0000000000");
    EXPECT_TRUE(applica(Tracciato::f24, {}).righe.empty());
}

}  // namespace
}  // namespace pliventa
