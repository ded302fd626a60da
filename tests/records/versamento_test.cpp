#include "records/versamento.h"

#include <gtest/gtest.h>

#include "righe.h"

namespace pliventa {
namespace {

using test::RigaVersamento;

TEST(Versamento, FieldsCoverTheRecordInOrder) {
    std::size_t atteso = 0;
    std::size_t totale = 0;
    for (int n = 1; n <= 17; ++n) {
        const Posizione p = posizione(static_cast<Campo>(n));
        EXPECT_EQ(p.inizio, atteso) << "field " << n;
        atteso += p.larghezza;
        totale += p.larghezza;
    }
    EXPECT_EQ(totale, Versamento::kLunghezzaRecord);
    EXPECT_EQ(posizione(Campo::totale).inizio, 63u);        // column 64
    EXPECT_EQ(posizione(Campo::estremiatto).inizio, 168u);  // column 169
}

TEST(Versamento, ShortBytesArePaddedAndFieldsKeepTheirWidth) {
    const Versamento v = Versamento::daByte("999A000" + std::string(18, '0') + "6");
    EXPECT_EQ(v.tipo(), '6');
    EXPECT_TRUE(v.violazione());
    EXPECT_EQ(v.campo(Campo::codicefiscale), std::string(16, ' '));
    EXPECT_EQ(v.campo(Campo::finelinea), "\r\n");
}

TEST(Versamento, KindIsViolationOnlyForSix) {
    for (char t : {'3', ' ', '4', 'a', '\0'}) {
        EXPECT_FALSE(Versamento::daByte(RigaVersamento().tipo(t).record()).violazione()) << t;
    }
}

TEST(Versamento, TwelveDigitTotalIsReadWithoutItsLeadingDigit) {
    const auto v = Versamento::daByte(RigaVersamento().colonne(63, "912345678901").record());
    EXPECT_EQ(v.campo(Campo::totale), "12345678901");
    EXPECT_DOUBLE_EQ(valoreNumerico(v.campo(Campo::totale)), 12345678901.0);
}

TEST(Versamento, NoticeReadingsOnTheSameField) {
    // Field 16: positions 1-6 anything, then 123456789 and 31122002 from position 7.
    const auto v = Versamento::daByte(RigaVersamento()
                                          .tipo('6')
                                          .campo(Campo::estremiatto, "3020021234567893112200200000")
                                          .record());
    const EstremiAtto lunga = v.estremi(LetturaAtto::lunga);
    EXPECT_EQ(lunga.numero, "123456789");
    EXPECT_EQ(lunga.data, "31/12/2002");
    const EstremiAtto breve = v.estremi(LetturaAtto::breve);
    EXPECT_EQ(breve.numero, "123456");
    EXPECT_EQ(breve.data, "78/93/1122");
}

TEST(Versamento, PaymentDateIsShownAsStored) {
    EXPECT_EQ(Versamento::daByte(RigaVersamento().data("20030531").record()).dataVersamento(),
              "31/05/2003");
    EXPECT_EQ(Versamento::daByte(RigaVersamento().data("2003  31").record()).dataVersamento(),
              "31/  /2003");
}

TEST(Versamento, TaxYearCenturyTurnsAtNinetyThree) {
    const struct {
        const char* campo;
        const char* atteso;
    } casi[] = {{"92", "2092"}, {"93", "1993"}, {"05", "2005"}, {"99", "1999"}, {"  ", "20  "}};
    for (const auto& c : casi) {
        const auto v =
            Versamento::daByte(RigaVersamento().campo(Campo::annoimposta, c.campo).record());
        EXPECT_EQ(v.annoImpostaCompleto(), c.atteso) << c.campo;
    }
}

TEST(ValoreNumerico, ReadsLikeTheFieldsAreWritten) {
    const struct {
        const char* testo;
        double atteso;
    } casi[] = {
        {"00000123456", 123456},
        {"", 0},
        {"    ", 0},
        {"abc", 0},
        {"-0000012345", -12345},
        {"  12 34 ", 1234},
        {"12a34", 12},
        {"0003", 3},
        {"-", 0},
        {"+42", 42},
        {"12.5", 12.5},
        {"1.2.3", 1.2},
        {"12-3", 12},
        {"999999999999", 999999999999.0},
        {"--5", 0},
    };
    for (const auto& c : casi) {
        EXPECT_DOUBLE_EQ(valoreNumerico(c.testo), c.atteso) << '"' << c.testo << '"';
    }
}

TEST(SenzaSpazi, TrimsBlanksOnly) {
    EXPECT_EQ(senzaSpazi("  RSS  "), "RSS");
    EXPECT_EQ(senzaSpazi("    "), "");
    EXPECT_EQ(senzaSpazi("\tA "), "\tA");
}

}  // namespace
}  // namespace pliventa
