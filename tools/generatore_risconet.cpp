// Risconet exports: a header line naming the fields, then one payment a line,
// fields separated by ";". Amounts are in tenths of a euro cent; the date comes
// with its time, the municipality's flag is "N", and some lines end in ";".
#include <cstdio>

#include "contribuenti.h"
#include "generatori.h"

namespace pliventa::genera {

namespace {

class Risconet final : public Generatore {
public:
    explicit Risconet(std::uint64_t seme) : caso_(seme) {}

    std::string testa() override {
        return "PROGR;DATA_VERSAMENTO;DATA_ACCREDITO;FLAG_ENTE;CONCESSIONE;ANNO_IMPOSTA;"
               "NUM_FABBRICATI;TIPO_VERSAMENTO;IMPORTO_TOTALE;RATA;ACCONTO;SALDO;"
               "RAVVEDIMENTO;IMMOBILI_VARIATI;COD_COMUNE;IMP_TERRENI;IMP_AREE;"
               "IMP_ABITAZIONE;IMP_ALTRI;DETRAZIONE;CODICE_FISCALE";
    }

    void blocco(std::vector<std::string>& righe) override { righe.push_back(pagamento()); }

    std::string coda(std::uint64_t) override { return pagamento(); }

private:
    std::string pagamento() {
        const Contribuente c = nuovoContribuente(caso_);
        const int anno = static_cast<int>(caso_.tra(2003, 2007));
        const std::string giorno = data(caso_, anno);
        const bool ravvedimento = caso_.su100(5);
        // Tenths of a cent: the amounts end in 0, a few do not (rounding on conversion).
        auto importo = [&](int percento, long long massimo) -> long long {
            if (!caso_.su100(percento)) {
                return 0;
            }
            return caso_.tra(1, massimo) * (caso_.su100(90) ? 10 : 1);
        };
        const long long terreni = importo(15, 30000);
        const long long aree = importo(10, 80000);
        const long long abitazione = importo(60, 60000);
        const long long altri = importo(50, 200000);
        const long long detrazione = abitazione > 0 ? 10329 * 10 : 0;
        const long long totale = terreni + aree + abitazione + altri;
        char riga[512];
        std::snprintf(riga, sizeof riga,
                      "%llu;%.4s-%.2s-%.2s 00:00:00;%.4s-%.2s-%.2s 00:00:00;N;ES%03d;%d;%d;%s;%lld;"
                      "%d;%s;%s;%s;0;%s;%lld;%lld;%lld;%lld;%lld;%s%s",
                      static_cast<unsigned long long>(++progressivo_), giorno.c_str(),
                      giorno.c_str() + 4, giorno.c_str() + 6, giorno.c_str(), giorno.c_str() + 4,
                      giorno.c_str() + 6, static_cast<int>(caso_.tra(1, 120)), anno,
                      static_cast<int>(caso_.tra(0, 6)), ravvedimento ? "6" : "0", totale,
                      static_cast<int>(caso_.tra(1, 2)), caso_.su100(50) ? "S" : "N",
                      caso_.su100(50) ? "S" : "N", ravvedimento ? "S" : "N",
                      std::string(kComune).c_str(), terreni, aree, abitazione, altri, detrazione,
                      c.codiceFiscale.c_str(), caso_.su100(20) ? ";" : "");
        return riga;
    }

    Casuale caso_;
    std::uint64_t progressivo_ = 0;
};

}  // namespace

std::unique_ptr<Generatore> nuovoRisconet(std::uint64_t seme) {
    return std::make_unique<Risconet>(seme);
}

}  // namespace pliventa::genera
