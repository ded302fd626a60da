// Exact sums of amount fields, their exact text, and the fast reading of plain
// amounts.
#include "records/somma.h"

#include <gtest/gtest.h>

#include "righe.h"

namespace pliventa {
namespace {

TEST(Somma, ExactTextKeepsEveryDigitAndOneSign) {
    // A field as read, written in units or in hundredths: never through a double,
    // whole amounts keep two decimals, no negative zero.
    const struct {
        std::string_view campo;
        bool centesimi;
        std::string_view atteso;
    } casi[] = {
        {"00000123456", true, "1234.56"}, {"00000123456", false, "123456"},
        {"00000000100", true, "1.00"},    {"00000000005", true, "0.05"},
        {"00000000000", false, "0"},      {"           ", true, "0.00"},
        {"-000001234", true, "-12.34"},   {"-000000000", true, "0.00"},
        {"12.5", true, "0.125"},          {"12.50", false, "12.5"},
        {"12.05", false, "12.05"},        {"-0.5", false, "-0.5"},
    };
    for (const auto& c : casi) {
        EXPECT_EQ(testoEsatto(leggiNumero(c.campo), c.centesimi), c.atteso)
            << '"' << c.campo << '"';
    }
    SommaEsatta s;
    for (const char* campo : {"-000001234", "00000012.5", "0.0001"}) {
        s.aggiungi(leggiNumero(campo));
    }
    EXPECT_EQ(testoEsatto(s.numero(), true), "-12.214999");
    EXPECT_EQ(testoEsatto(s.numero(), false), "-1221.4999");
    // Decimals keep their place, and a sum between -1 and 0 keeps its sign.
    SommaEsatta piccola;
    for (const char* campo : {"12.05", "-12.80", "0.25"}) {
        piccola.aggiungi(leggiNumero(campo));
    }
    EXPECT_TRUE(piccola.negativa());
    EXPECT_EQ(piccola.valore(1), -0.5);
    EXPECT_EQ(testoEsatto(piccola.numero(), false), "-0.5");
    SommaEsatta zero;
    zero.aggiungi(leggiNumero("-0.5"));
    zero.aggiungi(leggiNumero("0.5"));
    EXPECT_EQ(zero, SommaEsatta());
}

TEST(Somma, PlainAmountsAreReadEightDigitsAtATime) {
    const auto record = [](std::string_view totale, std::string_view detrazione) {
        return Versamento::daByte(test::RigaVersamento()
                                      .campo(Campo::totale, totale)
                                      .campo(Campo::terreni, "0000000001")
                                      .campo(Campo::areefabbricabili, "1234567890")
                                      .campo(Campo::abitazioneprincipale, "0000000000")
                                      .campo(Campo::altrifabbricati, "9999999999")
                                      .campo(Campo::detrazione, detrazione)
                                      .record());
    };
    const auto letti = importiSemplici(record("99999999999", "00010329"));
    ASSERT_TRUE(letti.has_value());
    EXPECT_EQ(*letti,
              (std::array<std::int64_t, 6>{99999999999, 1, 1234567890, 0, 9999999999, 10329}));
    // Anything but digits anywhere in the 59 bytes: the numeric value rule reads them.
    for (const char* detrazione : {"0001032 ", "-0010329", "0001032.", "000103:9", "/0010329"}) {
        EXPECT_FALSE(importiSemplici(record("00000000001", detrazione)).has_value()) << detrazione;
    }
    EXPECT_FALSE(importiSemplici(record(" 0000000001", "00010329")).has_value());
}

}  // namespace
}  // namespace pliventa
