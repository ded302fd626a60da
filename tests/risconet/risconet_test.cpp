// The Risconet conversion: one payment line into its CNC columns, and the whole
// file through the import routine and back into the ANCI-CNC 2000 import.
#include "risconet/risconet.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "importers/importatori.h"
#include "righe.h"

namespace pliventa {
namespace {

using test::CartellaTemporanea;

/// A payment line of the 21 fields, with the given ones replaced (1-based).
std::string riga(std::vector<std::pair<int, std::string>> cambi = {}, int quanti = 21) {
    std::vector<std::string> f;
    std::istringstream tutti(
        "17;2003-07-15 00:00:00;x;N;y;2003;2;0;1000;;;;;;;123456;0;5;15;1033;RSSMRA70A01H501U");
    for (std::string campo; std::getline(tutti, campo, ';');) {
        f.push_back(campo);
    }
    for (const auto& [n, v] : cambi) {
        f[static_cast<std::size_t>(n - 1)] = v;
    }
    std::string s;
    for (int i = 0; i < quanti; ++i) {
        s += (i > 0 ? ";" : "") + f[static_cast<std::size_t>(i)];
    }
    return s;
}

/// The CNC line of `riga`, or nullopt when it writes nothing.
std::optional<std::string> converti(std::string_view riga, std::string_view belfiore,
                                    std::uint64_t progressivo) {
    RigaCnc out;
    if (!convertiRiga(riga, belfiore, progressivo, out)) {
        return std::nullopt;
    }
    return std::string(out.data(), out.size());
}

TEST(Risconet, FieldRules) {
    const struct {
        std::string riga;
        std::size_t da, a;                  // columns, 1-based, included
        std::optional<std::string> atteso;  // nullopt: the line writes nothing
    } casi[] = {
        {riga(), 1, 3, "   "},
        {riga(), 4, 7, "A000"},                 // the code typed, cut to 4
        {riga(), 8, 25, "000000000000000007"},  // the progressive number
        {riga(), 26, 26, "3"},                  // an ordinary payment
        {riga(), 27, 34, "20030715"},           // date and time: the date
        {riga(), 35, 50, "RSSMRA70A01H501U"},   // last field, no final ";": whole
        {riga(), 51, 52, "03"},                 // the tax year's last two digits
        {riga(), 53, 62, "          "},
        {riga(), 63, 74, "000000000100"},  // 1000 tenths
        {riga(), 75, 84, "0000012346"},    // 12345.6 rounded half away from zero
        {riga(), 85, 94, "0000000000"},
        {riga(), 95, 104, "0000000001"},   // 0.5
        {riga(), 105, 114, "0000000002"},  // 1.5
        {riga(), 115, 122, "00000103"},    // 103.3
        {riga(), 165, 168, "0002"},
        {riga(), 169, 169, "3"},  // code 0 becomes 3
        {riga(), 170, 200, std::string(31, ' ')},
        {riga({{2, ""}}), 27, 34, "19010101"},                     // no date
        {riga({{2, "2003-07-15"}}), 27, 34, "20030715"},           // a date without time
        {riga({{2, "0000-00-00 00:00:00"}}), 27, 34, "19010101"},  // zero is no date
        {riga({{8, "6"}}), 169, 169, "6"},
        {riga({{8, ""}}), 169, 169, " "},
        {riga({{9, "15"}}), 63, 74, "000000000002"},   // plain digits: a half goes up
        {riga({{9, "-15"}}), 63, 74, "-00000000002"},  // the sign within the width
        {riga({{9, "999999999999999995"}}), 63, 74, "100000000000"},     // carried, then cut
        {riga({{9, "1234567890123456789"}}), 63, 74, "123456789012"},    // past 18 digits
        {riga({{9, "-4"}}), 63, 74, "000000000000"},                     // no "-0"
        {riga({{9, "12:5"}}), 63, 74, "000000000001"},                   // so does a colon
        {riga({{9, "5.0000000000000000000"}}), 63, 74, "000000000001"},  // past 64 bits
        {riga({{9, "4.9999999999999999999"}}), 63, 74, "000000000000"},
        {riga({{7, "12345"}}), 165, 168, "1234"},  // too wide: written whole, then cut
        {riga({{6, "5"}}), 51, 52, "5 "},
        {riga() + ";", 35, 50, "RSSMRA70A01H501U"},    // final ";": whole as well
        {riga({}, 20), 35, 50, std::string(16, ' ')},  // a missing field stays blank
        {"", 1, 1, std::nullopt},
        {riga({{4, "S"}}, 4), 1, 1, std::nullopt},  // four fields ending on a flag not "N"
        {riga({{4, "N"}}, 4), 4, 7, "A000"},
        {riga({{4, "S"}}, 5), 4, 7, "A000"},
    };
    for (const auto& c : casi) {
        const std::optional<std::string> r = converti(c.riga, "A0001", 7);
        ASSERT_EQ(r.has_value(), c.atteso.has_value()) << c.riga;
        if (r) {
            EXPECT_EQ(r->substr(c.da - 1, c.a - c.da + 1), *c.atteso)
                << c.riga << " columns " << c.da;
        }
    }
}

// A field may run long and push the codice fiscale far along the line: the line is
// converted whole, up to a limit past which it is counted as cut. Column 26 holds
// the record type, so the ANCI-CNC 2000 import takes the converted file whole.
TEST(Risconet, AWholeFileThroughTheImportRoutineLineByLine) {
    CartellaTemporanea dir;
    // A header, payments with every line end, one without fields 20-21, a long one
    // and one too long, and an empty line.
    const std::string lunga = riga({{5, std::string(Riga::kMaxRiga, 'n')}});
    const std::string enorme = riga({{5, std::string(kRigaMassimaRisconet, 'n')}});
    const std::string in =
        dir.scrivi("risconet.txt", "ID;DATA;...\r\n" + riga() + "\r\n" + riga({}, 19) + "\n" +
                                       lunga + "\r\n" + enorme + "\r\n" +
                                       riga({{21, "BNCLRA80B41F205X"}, {8, "6"}}) + "\r\n\r\n");
    const std::string convertito = percorsoConvertito(in);
    const auto c = importa(in, convertito, *nuovaConversioneRisconet("Z999"));
    ASSERT_TRUE(c.ok()) << c.errore().descrizione();
    EXPECT_EQ(c->versamenti, 5u);
    EXPECT_EQ(c->righeScartate, 2u);  // the header and the empty line
    EXPECT_EQ(c->righeTagliate, 1u);
    // Each payment line as converted alone, numbered in turn, the one too long cut at
    // the limit.
    const std::string righe[] = {riga(), riga({}, 19), lunga,
                                 enorme.substr(0, kRigaMassimaRisconet),
                                 riga({{21, "BNCLRA80B41F205X"}, {8, "6"}})};
    std::string atteso;
    for (std::size_t n = 0; n < 5; ++n) {
        atteso += *converti(righe[n], "Z999", n + 1) + "\r\n";
    }
    EXPECT_EQ(test::leggiFile(convertito), atteso);
}

TEST(Risconet, ABelfioreCodeWithControlCharactersIsRefused) {
    for (const std::string_view ammesso : {"A000", "", "\xC3\x80\xE2\x82\xAC"}) {  // À€
        EXPECT_TRUE(controllaBelfiore(ammesso).ok()) << ammesso;
    }
    // U+0085 is a line end of the C1 controls.
    for (const std::string_view codice : {"A\n0\r", "A\t00", "A\x7F", "A\xC2\x85"}) {
        const EsitoVuoto e = controllaBelfiore(codice);
        ASSERT_FALSE(e.ok()) << testing::PrintToString(codice);
        EXPECT_EQ(e.errore().codice, CodiceErrore::Uso);
        EXPECT_EQ(e.errore().motivo,
                  "il codice Belfiore contiene caratteri di controllo (a capo, tabulazioni o "
                  "simili)");
    }
}

}  // namespace
}  // namespace pliventa
