// ANCI-CNC 2000 files: the payment line is already the work-file record.
#include "importers/trasformazioni.h"

namespace pliventa {

namespace {

class Cnc2000 final : public Trasformazione {
public:
    bool riga(const Riga& riga, Uscita& uscita) override {
        // Column 26 is the record type: "3" an ordinary payment, "6" a payment on a
        // violation notice. Headers, trailers and any other record are left out.
        if (riga.testo.size() < 26 || (riga.testo[25] != '3' && riga.testo[25] != '6')) {
            return false;
        }
        uscita.scrivi(riga.testo);
        return true;
    }
};

}  // namespace

std::unique_ptr<Trasformazione> nuovaCnc2000() {
    return std::make_unique<Cnc2000>();
}

}  // namespace pliventa
