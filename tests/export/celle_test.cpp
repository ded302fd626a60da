// The rules of the sheet's cells that a workbook reader cannot tell apart from
// the library's own rounding: calendar days, exact sums, the sheet's name.
#include "export/celle.h"

#include <gtest/gtest.h>

namespace pliventa {
namespace {

TEST(Celle, OnlyRealCalendarDaysAreDates) {
    const struct {
        const char* testo;
        std::optional<Giorno> atteso;
    } casi[] = {
        {"31/12/2002", Giorno{2002, 12, 31}}, {"29/02/2004", Giorno{2004, 2, 29}},
        {"29/02/2000", Giorno{2000, 2, 29}},  {"01/01/1900", Giorno{1900, 1, 1}},
        {"29/02/1900", std::nullopt},  // 1900 was not a leap year
        {"29/02/2003", std::nullopt},         {"31/04/2003", std::nullopt},
        {"00/01/2003", std::nullopt},         {"01/13/2003", std::nullopt},
        {"01/01/1899", std::nullopt},         {"  /  /    ", std::nullopt},
        {"1 /02/2003", std::nullopt},         {"01/02/20-3", std::nullopt},
    };
    for (const auto& c : casi) {
        EXPECT_EQ(giornoValido(c.testo), c.atteso) << c.testo;
    }
}

TEST(Celle, SumsAreExactInWholeUnitsThenScaled) {
    // Ten cents added a million times is 100,000.00 exactly; in doubles it drifts.
    SommaEsatta dieciCentesimi;
    double inVirgolaMobile = 0;
    for (int i = 0; i < 1'000'000; ++i) {
        dieciCentesimi.aggiungi(leggiNumero("0000000010"));
        inVirgolaMobile += 0.10;
    }
    EXPECT_EQ(dieciCentesimi.valore(100), 100000.0);
    EXPECT_NE(inVirgolaMobile, 100000.0);

    SommaEsatta misto;  // signs, and the decimals a lenient field may carry
    for (const char* campo : {"-000001234", "00000012.5", " 7.25", "-0.75", "00000000001"}) {
        misto.aggiungi(leggiNumero(campo));
    }
    EXPECT_EQ(misto.valore(1), -1234 + 12.5 + 7.25 - 0.75 + 1);
    EXPECT_EQ(misto.valore(100), -12.14);
}

TEST(Celle, SheetNameIsThirtyCharactersWithoutColons) {
    std::tm quando{};
    quando.tm_mday = 5;
    quando.tm_mon = 2;
    quando.tm_year = 104;
    quando.tm_hour = 9;
    quando.tm_min = 7;
    quando.tm_sec = 2;
    EXPECT_EQ(nomeFoglio(quando), "Estrazione 05-03-2004 09.07.02");
    EXPECT_EQ(nomeFoglioDiAdesso().size(), 30u);
}

}  // namespace
}  // namespace pliventa
