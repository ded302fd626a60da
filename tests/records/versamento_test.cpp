// The fields of a record read by their rules (calendar, century, digits, the
// numeric value, the exact sums of amounts) and shown as the record display does.
#include "records/versamento.h"

#include <gtest/gtest.h>

#include "records/somma.h"
#include "records/visualizzazione.h"
#include "righe.h"

namespace pliventa {
namespace {

using test::RigaVersamento;

// The notice's number and date as each reading shows them are the list's tests;
// here, the date is a calendar day only where the reading finds one.
TEST(Versamento, NoticeDateIsADayOnlyWhereTheReadingFindsOne) {
    const auto v = RigaVersamento()
                       .tipo('6')
                       .campo(Campo::estremiatto, "3020021234567893112200200000")
                       .versamento();
    EXPECT_EQ(v.estremi(LetturaAtto::lunga).giorno, (Giorno{2002, 12, 31}));
    EXPECT_EQ(v.estremi(LetturaAtto::breve).giorno, std::nullopt);  // 78/93/1122
}

TEST(Versamento, TaxYearCenturyTurnsAtNinetyThree) {
    const struct {
        const char* campo;
        const char* testo;
        std::optional<int> anno;
    } casi[] = {
        {"92", "2092", 2092},         {"93", "1993", 1993},         {"05", "2005", 2005},
        {"99", "1999", 1999},         {"00", "2000", 2000},         {"  ", "20  ", std::nullopt},
        {"9 ", "209 ", std::nullopt}, {"-9", "20-9", std::nullopt},
    };
    for (const auto& c : casi) {
        const auto v = RigaVersamento().campo(Campo::annoimposta, c.campo).versamento();
        EXPECT_EQ(v.annoImpostaCompleto(), c.testo) << c.campo;
        EXPECT_EQ(v.annoImposta(), c.anno) << c.campo;
    }
}

TEST(Giorno, OnlyRealCalendarDays) {
    const struct {
        const char* aaaammgg;
        std::optional<Giorno> atteso;
    } casi[] = {
        {"20021231", Giorno{2002, 12, 31}}, {"20040229", Giorno{2004, 2, 29}},
        {"20000229", Giorno{2000, 2, 29}},                               // leap century
        {"19000101", Giorno{1900, 1, 1}},   {"19000229", std::nullopt},  // 1900 was not a leap year
        {"20030229", std::nullopt},         {"20030631", std::nullopt},
        {"20030100", std::nullopt},         {"20031301", std::nullopt},
        {"20030015", std::nullopt},         {"18991231", std::nullopt},
        {"        ", std::nullopt},         {"200302 1", std::nullopt},
        {"20-30201", std::nullopt},
    };
    for (const auto& c : casi) {
        const auto v = RigaVersamento().data(c.aaaammgg).versamento();
        EXPECT_EQ(v.giornoVersamento(), c.atteso) << c.aaaammgg;
    }
}

// The same texts read as a field of plain digits, which takes nothing else and
// few enough digits to fit, and by the numeric value rule, which reads a sign and
// the digits up to the first other character, blanks skipped.
TEST(ValoreCifre, PlainDigitsAndTheNumericValueOfTheSameTexts) {
    const struct {
        std::string_view testo;
        std::optional<std::int64_t> cifre;
        double numerico;
    } casi[] = {
        {"0003", 3, 3},
        {"999999999999999999", 999999999999999999, 999999999999999999.0},
        {"1234567890123456789", std::nullopt, 1234567890123456789.0},  // 19 digits
        {"", std::nullopt, 0},
        {" 1", std::nullopt, 1},
        {"-0000012345", std::nullopt, -12345},
        {"+42", std::nullopt, 42},
        {"--5", std::nullopt, 0},
        {"/1", std::nullopt, 0},
        {"  12 34 ", std::nullopt, 1234},
        {"12a34", std::nullopt, 12},
        {"12-3", std::nullopt, 12},
        {"1:", std::nullopt, 1},  // ':' follows '9' in the code page but is no digit
        {"12:5", std::nullopt, 12},
        {"1.2.3", std::nullopt, 1.2},
        {"0.05", std::nullopt, 0.05},
    };
    for (const auto& c : casi) {
        EXPECT_EQ(valoreCifre(c.testo), c.cifre) << '"' << c.testo << '"';
        EXPECT_DOUBLE_EQ(valoreNumerico(c.testo), c.numerico) << '"' << c.testo << '"';
    }
}

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
    // Fields 8 to 13, one after the other from column 64.
    const auto record = [](std::string_view totale, std::string_view detrazione) {
        return RigaVersamento()
            .colonne(64, std::string(totale) + "0000000001123456789000000000009999999999")
            .colonne(115, detrazione)
            .versamento();
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

const Separatori kItaliano{".", ","};

TEST(FormattaImporto, EuroAndLireUnderItalianSeparators) {
    const struct {
        double valore;
        const char* valuta;
        const char* atteso;
    } casi[] = {
        {123456, "E", "1.234,56"}, {123456, "L", "123.456"},
        {123456, "e", "123.456"},  {123456, "", "123.456"},
        {0, "E", "0,00"},          {0, "L", "0"},
        {5, "E", "0,05"},          {-12345, "E", "-123,45"},
        {-1234, "L", "-1.234"},    {99999999999, "E", "999.999.999,99"},
        {100000, "L", "100.000"},  {12.5, "E", "0,13"},
    };
    for (const auto& c : casi) {
        EXPECT_EQ(formattaImporto(c.valore, c.valuta, kItaliano), c.atteso)
            << c.valore << " " << c.valuta;
    }
    EXPECT_EQ(formattaImporto(123456, "E", Separatori{",", "."}), "1,234.56");
}

// Which field each text shows, and in which format, is the list's test (it reads
// the same texts); here, the number line and the look of each kind of payment,
// and the currency and the notice reading handed on.
TEST(Mostrarecord, NumberLineAndLookOfOrdinaryAndViolationPayments) {
    const struct {
        char tipo;
        double numero;
        FormaNumero forma;
        const char* riga;
        Aspetto aspetto;
        const char* dataAtto;
    } casi[] = {
        {'3', 12, FormaNumero::conPrefisso, "Vers. n. 12", Aspetto::normale, ""},
        // 10.5: the last number of a file ending in a partial record.
        {'6', 10.5, FormaNumero::soloNumero, "10,5 (Violazione)", Aspetto::violazioni,
         "78/93/1122"},
    };
    for (const auto& c : casi) {
        const Schermata s =
            mostrarecord(RigaVersamento()
                             .tipo(c.tipo)
                             .campo(Campo::totale, "00000123456")
                             .campo(Campo::estremiatto, "3020021234567893112200200000")
                             .versamento(),
                         c.numero, "L", LetturaAtto::breve, c.forma, kItaliano);
        EXPECT_EQ(s.numero, c.riga);
        EXPECT_EQ(s.aspetto, c.aspetto);
        EXPECT_EQ(s.testo(Voce::totale), "123.456");
        EXPECT_EQ(s.testo(Voce::dataAtto), c.dataAtto);
    }
}

}  // namespace
}  // namespace pliventa
