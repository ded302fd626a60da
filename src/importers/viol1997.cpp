// 1997 violation files: lines already in the work-file shape, with the notice in
// the short arrangement; only the violation payments are kept.
#include "importers/trasformazioni.h"

namespace pliventa {

namespace {

class Viol1997 final : public Trasformazione {
public:
    bool riga(const Riga& riga, Uscita& uscita) override {
        if (riga.testo.size() < 26 || riga.testo[25] != '6') {
            return false;
        }
        uscita.scrivi(riga.testo);
        return true;
    }
};

}  // namespace

std::unique_ptr<Trasformazione> nuovaViol1997() {
    return std::make_unique<Viol1997>();
}

}  // namespace pliventa
