#include "records/visualizzazione.h"

#include <gtest/gtest.h>

#include "righe.h"

namespace pliventa {
namespace {

using test::RigaVersamento;

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

Versamento ordinario() {
    return Versamento::daByte(RigaVersamento()
                                  .tipo('3')
                                  .data("20030715")
                                  .cf("RSSMRA70A01H501U")
                                  .campo(Campo::annoimposta, "02")
                                  .campo(Campo::totale, "00000123456")
                                  .campo(Campo::terreni, "0000000100")
                                  .campo(Campo::areefabbricabili, "0000000200")
                                  .campo(Campo::abitazioneprincipale, "0000000300")
                                  .campo(Campo::altrifabbricati, "0000000400")
                                  .campo(Campo::detrazione, "00010329")
                                  .campo(Campo::numerofabbricati, "0003")
                                  .record());
}

TEST(Mostrarecord, OrdinaryPayment) {
    const Schermata s =
        mostrarecord(ordinario(), 12, "E", LetturaAtto::lunga, FormaNumero::conPrefisso, kItaliano);
    // The deduction (field 13) before the other buildings (field 12).
    const TestiVoci attesi = {"15/07/2003", "RSSMRA70A01H501U", "3",    "1.234,56", "1,00", "2,00",
                              "3,00",       "103,29",           "4,00", "02",       "",     ""};
    EXPECT_EQ(s.testi, attesi);
    EXPECT_EQ(s.numero, "Vers. n. 12");
    EXPECT_EQ(s.aspetto, Aspetto::normale);
}

TEST(Mostrarecord, ViolationPaymentFollowsTheGivenNoticeReading) {
    const auto v = Versamento::daByte(RigaVersamento()
                                          .tipo('6')
                                          .cf("rssmra")
                                          .campo(Campo::estremiatto, "      1234567893112200200000")
                                          .campo(Campo::numerofabbricati, "    ")
                                          .record());
    const Schermata lunga =
        mostrarecord(v, 7, "L", LetturaAtto::lunga, FormaNumero::soloNumero, kItaliano);
    EXPECT_EQ(lunga.numero, "7 (Violazione)");
    EXPECT_EQ(lunga.testo(Voce::dataAtto), "31/12/2002");
    EXPECT_EQ(lunga.testo(Voce::codiceFiscale), "rssmra          ");  // as stored
    EXPECT_EQ(lunga.testo(Voce::numeroFabbricati), "0");
    EXPECT_EQ(lunga.testo(Voce::totale), "0");
    EXPECT_EQ(lunga.aspetto, Aspetto::violazioni);
}

}  // namespace
}  // namespace pliventa
