#include "risconet/formati.h"

#include <utility>

#include "risconet/risconet.h"

namespace pliventa {

namespace {

/// The conversion of a Risconet export followed by the ANCI-CNC 2000 import of
/// its lines: what the conversion and then the import of its file write, without
/// the file in between.
class RisconetImportato final : public Trasformazione {
public:
    explicit RisconetImportato(std::string belfiore)
        : conversione_(nuovaConversioneRisconet(std::move(belfiore))),
          importazione_(nuovaTrasformazione(Tracciato::cnc2000)) {}

    bool riga(const Riga& riga, Uscita& uscita) override {
        Inoltro inoltro(*importazione_, uscita);
        return conversione_->riga(riga, inoltro);
    }

    void fine(Uscita& uscita) override {
        Inoltro inoltro(*importazione_, uscita);
        conversione_->fine(inoltro);
        importazione_->fine(uscita);
    }

private:
    /// Hands each converted line to the import as a line of its input.
    class Inoltro final : public Uscita {
    public:
        Inoltro(Trasformazione& importazione, Uscita& uscita)
            : importazione_(importazione), uscita_(uscita) {}
        void scrivi(std::string_view riga) override {
            static_cast<void>(importazione_.riga(Riga{riga, riga.size()}, uscita_));
        }

    private:
        Trasformazione& importazione_;
        Uscita& uscita_;
    };

    std::unique_ptr<Trasformazione> conversione_;
    std::unique_ptr<Trasformazione> importazione_;
};

}  // namespace

std::unique_ptr<Trasformazione> nuovaImportazione(Formato formato, std::string belfiore) {
    if (formato == Formato::risconet) {
        return std::make_unique<RisconetImportato>(std::move(belfiore));
    }
    return nuovaTrasformazione(tracciatoDi(formato));
}

}  // namespace pliventa
