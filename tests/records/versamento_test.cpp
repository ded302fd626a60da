#include "records/versamento.h"

#include <gtest/gtest.h>

#include "righe.h"

namespace pliventa {
namespace {

using test::RigaVersamento;

TEST(Versamento, NoticeReadingsOnTheSameField) {
    // Field 16: positions 1-6 anything, then 123456789 and 31122002 from position 7.
    const auto v = Versamento::daByte(RigaVersamento()
                                          .tipo('6')
                                          .campo(Campo::estremiatto, "3020021234567893112200200000")
                                          .record());
    const EstremiAtto lunga = v.estremi(LetturaAtto::lunga);
    EXPECT_EQ(lunga.numero, "123456789");
    EXPECT_EQ(lunga.data, "31/12/2002");
    EXPECT_EQ(lunga.giorno, (Giorno{2002, 12, 31}));
    const EstremiAtto breve = v.estremi(LetturaAtto::breve);
    EXPECT_EQ(breve.numero, "123456");
    EXPECT_EQ(breve.data, "78/93/1122");
    EXPECT_EQ(breve.giorno, std::nullopt);
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
        const auto v =
            Versamento::daByte(RigaVersamento().campo(Campo::annoimposta, c.campo).record());
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
        {"20000229", Giorno{2000, 2, 29}},  // leap century
        {"19000101", Giorno{1900, 1, 1}},   {"20030131", Giorno{2003, 1, 31}},
        {"19000229", std::nullopt},  // 1900 was not a leap year
        {"20030229", std::nullopt},         {"20030431", std::nullopt},
        {"20030631", std::nullopt},         {"20030931", std::nullopt},
        {"20031131", std::nullopt},         {"20030100", std::nullopt},
        {"20031301", std::nullopt},         {"20030015", std::nullopt},
        {"18991231", std::nullopt},         {"00000000", std::nullopt},
        {"        ", std::nullopt},         {"200302 1", std::nullopt},
        {"20-30201", std::nullopt},
    };
    for (const auto& c : casi) {
        const auto v = Versamento::daByte(RigaVersamento().data(c.aaaammgg).record());
        EXPECT_EQ(v.giornoVersamento(), c.atteso) << c.aaaammgg;
    }
}

TEST(ValoreCifre, OnlyDigitsAndFewEnoughToFit) {
    const struct {
        std::string_view testo;
        std::optional<std::int64_t> atteso;
    } casi[] = {
        {"0003", 3},
        {"999999999999999999", 999999999999999999},
        {"1234567890123456789", std::nullopt},  // 19 digits
        {"", std::nullopt},
        {" 1", std::nullopt},
        {"-1", std::nullopt},
        {"1:", std::nullopt},
        {"/1", std::nullopt},
    };
    for (const auto& c : casi) {
        EXPECT_EQ(valoreCifre(c.testo), c.atteso) << '"' << c.testo << '"';
    }
}

TEST(ValoreNumerico, ReadsLikeTheFieldsAreWritten) {
    const struct {
        const char* testo;
        double atteso;
    } casi[] = {
        {"00000123456", 123456},
        {"    ", 0},
        {"-0000012345", -12345},
        {"  12 34 ", 1234},
        {"12a34", 12},
        {"+42", 42},
        {"1.2.3", 1.2},
        {"12-3", 12},
        {"--5", 0},
        {"12:5", 12},  // ':' follows '9' in the code page but is no digit
        {"0.05", 0.05},
    };
    for (const auto& c : casi) {
        EXPECT_DOUBLE_EQ(valoreNumerico(c.testo), c.atteso) << '"' << c.testo << '"';
    }
}

}  // namespace
}  // namespace pliventa
