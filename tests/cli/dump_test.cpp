#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>

#include "lancio.h"
#include "libro_letto.h"
#include "righe.h"

namespace pliventa {
namespace {

using test::CartellaTemporanea;
using test::lancia;
using test::RigaVersamento;

// Two payments: an ordinary one, and a violation one with a 12-digit total, a
// notice and a codice fiscale of every kind of byte a JSON string escapes, decodes
// from Windows-1252 or keeps (the bytes Windows-1252 leaves undefined become C1
// controls, escaped; the no-break space is text). The fields' own readings are the
// records' tests; here, every key once.
std::string dueVersamenti() {
    return RigaVersamento()
               .tipo('3')
               .data("20030715")
               .cf("RSSMRA70A01H501U")
               .campo(Campo::annoimposta, "03")
               // Fields 8 to 13 from column 64, field 10 blank.
               .colonne(64, "00000123456-000001234          0000050000000000010000010329")
               .campo(Campo::numerofabbricati, "0003")
               .campo(Campo::estremiatto, "000000123456789311220021234")
               .record() +
           RigaVersamento()
               .tipo('6')
               .data("20040201")
               .cf(std::string("BNCLRA80\\\"\0\x1F\x7F\x80\x81\xA0", 16))
               .campo(Campo::annoimposta, "95")
               .colonne(63, "123456789012")  // twelve digits: field 8 holds the last eleven
               .campo(Campo::terreni, "0000001000")
               .campo(Campo::numerofabbricati, "0000")
               .campo(Campo::estremiatto, "000000123456789311220021234")
               .record();
}

TEST(CliDump, KeysAndValuesByCurrencyAndNoticeReading) {
    CartellaTemporanea dir;
    const std::string w = dir.scrivi("iciview.out", dueVersamenti());
    // Euro and the long notice by default.
    const auto r = lancia({"dump", w});
    EXPECT_EQ(r.codice, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              R"({"record":1,"tipo":"3","violazione":false,"data_versamento":"15/07/2003",)"
              R"("codice_fiscale":"RSSMRA70A01H501U","numero_fabbricati":3,"totale":1234.56,)"
              R"("terreni":-12.34,"aree_fabbricabili":0.00,"abitazione_principale":500.00,)"
              R"("detrazione":103.29,"altri_fabbricati":1.00,"anno":"2003","numero_atto":null,)"
              R"("data_atto":null})"
              "\n"
              R"({"record":2,"tipo":"6","violazione":true,"data_versamento":"01/02/2004",)"
              "\"codice_fiscale\":\"BNCLRA80\\\\\\\"\\u0000\\u001f\\u007f€\\u0081\xC2\xA0\","
              R"("numero_fabbricati":0,"totale":234567890.12,)"
              R"("terreni":10.00,"aree_fabbricabili":0.00,"abitazione_principale":0.00,)"
              R"("detrazione":0.00,"altri_fabbricati":0.00,"anno":null,"numero_atto":"123456789",)"
              R"("data_atto":"31/12/2002"})"
              "\n");

    // Lire and the short notice: of an option given twice, the last counts.
    const auto l = lancia({"dump", w, "--valuta=E", "--notice=short", "--valuta", "L"});
    EXPECT_EQ(l.codice, 0) << l.err;
    EXPECT_THAT(l.out, testing::HasSubstr(R"("totale":123456,"terreni":-1234,)"));
    EXPECT_THAT(l.out, testing::HasSubstr(R"("numero_atto":"123456","data_atto":"78/93/1122"})"));

    // A failed write of the output is an error.
    if (*test::kDispositivoPieno != '\0') {
        const auto piena = lancia({"dump", w}, "", test::kDispositivoPieno);
        EXPECT_EQ(piena.codice, 1);
        EXPECT_EQ(piena.err, "pliventa-cli: standard output: spazio esaurito sul dispositivo\n");
    }
}

TEST(CliExport, WritesTheBookAsTheOptionsSayAndCountsOnStderr) {
    CartellaTemporanea dir;
    const std::string w = dir.scrivi("w.out", dueVersamenti() + std::string(100, ' '));
    const std::string libro = dir.file("b.xlsx");
    const auto r = lancia({"export", w, "-o", libro, "--valuta", "L", "--notice", "short"});
    EXPECT_EQ(r.codice, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "esportati 2 versamenti in " + libro +
                         "\npliventa-cli: 1 celle di testo contenevano caratteri nulli, scritti "
                         "come U+FFFD\n" +
                         test::avvisoParziale(w));
    const test::LibroLetto l = test::leggiLibro(libro);
    // std::regex: GoogleTest's own on Windows knows no repetition counts.
    ASSERT_EQ(l.fogli.size(), 1u);
    EXPECT_TRUE(std::regex_match(l.fogli[0],
                                 std::regex(R"(Estrazione \d{2}-\d{2}-\d{4} \d{2}\.\d{2}\.\d{2})")))
        << l.fogli[0];
    EXPECT_EQ(l["D3"], "n\t123456.0\t-\tGeneral");
    EXPECT_EQ(l["K4"], "s\t123456\t-\tGeneral");
}

}  // namespace
}  // namespace pliventa
