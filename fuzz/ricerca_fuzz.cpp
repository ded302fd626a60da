// The search key and the match. The input is the search text as typed (UTF-8, up
// to the first LF) and, after it, the codice fiscale of a record. Malformed UTF-8
// never makes a key, so it never matches; validity is judged here, not by the core.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/testo.h"
#include "browse/ricerca.h"
#include "records/archivio.h"
#include "records/versamento.h"
#include "supporto.h"

namespace pliventa::fuzz {
namespace {

/// A record whose field 5 is `cf`, cut or padded to its 16 columns.
std::string recordCon(std::string_view cf) {
    std::string r(200, ' ');
    r.replace(34, std::min<std::size_t>(cf.size(), 16), cf.substr(0, 16));
    return r + "\r\n";
}

/// The key of an ASCII text: upper-cased, trimmed of spaces.
std::string chiaveAscii(std::string_view t) {
    std::string s(senzaSpazi(t));
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return s;
}

}  // namespace
}  // namespace pliventa::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
    using namespace pliventa;
    using namespace pliventa::fuzz;
    const std::string_view input = testo(dati, n);
    const std::size_t a = input.find('\n');
    const std::string_view cercato = input.substr(0, a);
    const std::string_view cf =
        a == std::string_view::npos ? std::string_view() : input.substr(a + 1, 16);

    const std::optional<std::string> chiave = chiaveRicerca(cercato);
    const bool valido = utf8BenFormato(cercato);
    if (!valido) {
        VERIFICA(!chiave);
    }
    bool ascii = true;
    for (char c : cercato) {
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    }
    if (ascii) {
        VERIFICA(chiave && *chiave == chiaveAscii(cercato));
    }
    if (chiave) {
        VERIFICA(senzaSpazi(*chiave) == *chiave);
        // Upper-cased and trimmed already: the key of its own text is itself.
        const std::string comeTesto = daCp1252(*chiave);
        VERIFICA(utf8BenFormato(comeTesto));
        VERIFICA(chiaveRicerca(comeTesto) == chiave);
        VERIFICA(corrisponde(cf, *chiave) == senzaSpazi(cf).starts_with(*chiave));
        VERIFICA(corrisponde(cf, ""));
    }

    // The scan over a work file agrees with the rule, record by record: the record
    // of the input's codice fiscale, a blank one, and one holding the key itself.
    std::vector<std::string> cfs = {std::string(cf), ""};
    if (chiave) {
        cfs.push_back(chiave->substr(0, 16));
    }
    std::string file;
    for (const std::string& c : cfs) {
        file += recordCon(c);
    }
    const std::string lavoro = inCartella("lavoro.out");
    scriviFile(lavoro, file);
    const Esito<ArchivioLavoro> archivio = ArchivioLavoro::apriarchivio(lavoro);
    VERIFICA(archivio.ok());
    ScansioneRicerca scansione(*archivio, cercato);
    std::vector<std::uint64_t> trovati;
    for (;;) {
        const auto prossimo = scansione.prossimo();
        VERIFICA(prossimo.ok());
        if (!*prossimo) {
            break;
        }
        trovati.push_back((*prossimo)->numero);
    }
    std::vector<std::uint64_t> attesi;
    for (std::size_t i = 0; chiave && i < cfs.size(); ++i) {
        const std::string r = recordCon(cfs[i]);
        if (corrisponde(std::string_view(r).substr(34, 16), *chiave)) {
            attesi.push_back(i + 1);
        }
    }
    VERIFICA(trovati == attesi);
    if (chiave && chiave->size() <= 16 && chiave->find(' ') == std::string::npos) {
        VERIFICA(!trovati.empty() && trovati.back() == cfs.size());
    }
    return 0;
}
