// Layouts whose payment lines are already work-file records: the ANCI-CNC 2000
// files and the 1997 violation files. Their lines are copied as they are; only
// the record type in column 26 decides which ones.
#include <string_view>

#include "importers/trasformazioni.h"

namespace pliventa {

namespace {

class CopiaPerTipo final : public Trasformazione {
public:
    explicit CopiaPerTipo(std::string_view tipi) : tipi_(tipi) {}

    bool riga(const Riga& riga, Uscita& uscita) override {
        // Headers, trailers, lines too short to have a type and records of any
        // other type are left out.
        if (riga.testo.size() < 26 || tipi_.find(riga.testo[25]) == std::string_view::npos) {
            return false;
        }
        uscita.scrivi(riga.testo);
        return true;
    }

private:
    std::string_view tipi_;
};

}  // namespace

std::unique_ptr<Trasformazione> nuovaCnc2000() {
    // "3" an ordinary payment, "6" a payment on a violation notice.
    return std::make_unique<CopiaPerTipo>("36");
}

std::unique_ptr<Trasformazione> nuovaViol1997() {
    // Only the payments on a violation notice; the notice is in the short arrangement.
    return std::make_unique<CopiaPerTipo>("6");
}

}  // namespace pliventa
