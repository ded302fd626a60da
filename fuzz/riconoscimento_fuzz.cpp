// The layout told from the first bytes of a fuzzed file: an answer for any bytes,
// either a layout or a reason, and a last line cut by the limit never counts.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "importers/riconoscimento.h"
#include "supporto.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
    using namespace pliventa;
    const std::string_view inizio = fuzz::testo(dati, n);
    for (const bool intero : {true, false}) {
        const Riconoscimento r = riconosci(inizio, intero);
        VERIFICA(r.formato.has_value() == r.motivo.empty());
    }
    // What follows the last line end is left out when the file goes on: anything
    // put after it changes nothing.
    const std::size_t fine = inizio.find_last_of("\r\n");
    const std::string_view righe = inizio.substr(0, fine == std::string_view::npos ? 0 : fine + 1);
    const Riconoscimento tagliato = riconosci(inizio, false);
    const Riconoscimento intere = riconosci(righe, false);
    // A control character cut off with the last line still makes the bytes binary.
    if (righe.size() == inizio.size() || tagliato.motivo != "non è un file di testo") {
        VERIFICA(tagliato.formato == intere.formato);
    }
    return 0;
}
