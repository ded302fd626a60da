// One import layout through the streaming routine, from a fuzzed input file to a
// work file. Built once per layout: FUZZ_TRACCIATO names it. The work file must be
// whole records, the counts must add up with the lines an independent reader finds,
// and nothing but the input and the work file may be left in the folder.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "importers/importatori.h"
#include "importers/importazione.h"
#include "records/versamento.h"
#include "supporto.h"

#ifndef FUZZ_TRACCIATO
#error "FUZZ_TRACCIATO must name the layout"
#endif

namespace pliventa::fuzz {
namespace {

constexpr Tracciato kTracciato = Tracciato::FUZZ_TRACCIATO;

/// A taken line as a work-file record: cut or padded with blanks to 200, CR LF.
std::string comeRecord(std::string_view riga) {
    std::string r(riga.substr(0, 200));
    r.resize(200, ' ');
    return r + "\r\n";
}

/// The layouts that copy their payment lines: the line's record types.
std::string_view tipiCopiati() {
    return kTracciato == Tracciato::cnc2000 ? "36" : "6";
}

void verificaCopia(const std::vector<std::string_view>& linee, const Conteggi& k,
                   std::string_view scritto) {
    std::string atteso;
    std::uint64_t prese = 0, corte = 0, lunghe = 0;
    for (const std::string_view l : linee) {
        if (l.size() < 26 || tipiCopiati().find(l[25]) == std::string_view::npos) {
            continue;
        }
        ++prese;
        corte += l.size() < 200 ? 1 : 0;
        lunghe += l.size() > 200 ? 1 : 0;
        atteso += comeRecord(l);
    }
    VERIFICA(scritto == atteso);
    VERIFICA(k.righeScartate == linee.size() - prese);
    VERIFICA(k.completate == corte);
    VERIFICA(k.troncate == lunghe);
}

void verificaCnc1997(const std::vector<std::string_view>& linee, const Conteggi& k,
                     std::string_view scritto) {
    std::uint64_t prese = 0, corte = 0, lunghe = 0;
    std::size_t r = 0;
    for (const std::string_view l : linee) {
        if (l.size() < 26 || l[25] != '3') {
            continue;
        }
        ++prese;
        // Widened by the two century digits after column 26 (and by two more
        // where columns 155-156 are repeated): 196 characters fill a record.
        corte += l.size() < 196 ? 1 : 0;
        lunghe += l.size() > 196 ? 1 : 0;
        VERIFICA(r + 202 <= scritto.size());
        const std::string_view rec = scritto.substr(r, 202);
        r += 202;
        VERIFICA(rec.substr(0, 26) == l.substr(0, 26));
        const std::string_view secolo = rec.substr(26, 2);
        VERIFICA(secolo == "19" || secolo == "20");
        const std::size_t primo = std::min<std::size_t>(l.size() - 26, 128);
        VERIFICA(rec.substr(28, primo) == l.substr(26, primo));
    }
    VERIFICA(r == scritto.size());
    VERIFICA(k.righeScartate == linee.size() - prese);
    VERIFICA(k.completate == corte);
    VERIFICA(k.troncate == lunghe);
}

/// The key that groups F24 lines into one payment: payer, date, reference year and
/// the instalment flags.
struct ChiaveF24 {
    std::string_view cf, data, anno, rata;
    bool operator==(const ChiaveF24&) const = default;
};

bool soloCifre(std::string_view s) {
    return s.find_first_not_of("0123456789") == std::string_view::npos;
}

void verificaF24(const std::vector<std::string_view>& linee, const Conteggi& k,
                 std::string_view scritto) {
    std::vector<ChiaveF24> gruppi;
    std::vector<std::int64_t> totali;
    std::vector<bool> totaleNoto;
    std::uint64_t prese = 0;
    std::uint64_t fuoriFormato = 0;  // the amounts known to lose digits that count
    for (const std::string_view l : linee) {
        if (l.size() < 260 || l[0] != 'G' || l[1] != '1' || l[259] != 'I') {
            continue;
        }
        ++prese;
        std::string_view rata = l.substr(127, 2);
        // The flag pairs with a one-character code; any other pair is kept.
        for (const auto& [flag, codice] :
             {std::pair{"10", "1"}, {"01", "2"}, {"11", "3"}, {"00", "4"}}) {
            if (rata == flag) {
                rata = codice;
            }
        }
        const ChiaveF24 chiave{l.substr(49, 16), l.substr(66, 8), l.substr(89, 2), rata};
        if (gruppi.empty() || !(gruppi.back() == chiave)) {
            gruppi.push_back(chiave);
            totali.push_back(0);
            totaleNoto.push_back(true);
        }
        // A credit counts negative by its last nine digits, else a debit by its last ten.
        const std::string_view debito = l.substr(95, 15);
        const std::string_view credito = l.substr(110, 15);
        const auto perde = [](std::string_view tolto) {
            return tolto.find_first_of("-123456789") != std::string_view::npos;
        };
        if (credito != "000000000000000") {
            fuoriFormato += perde(credito.substr(0, 6)) ? 1 : 0;
            const std::string_view cifre = credito.substr(6);
            totaleNoto.back() = totaleNoto.back() && soloCifre(cifre);
            totali.back() -= soloCifre(cifre) ? std::stoll(std::string(cifre)) : 0;
        } else if (debito != "000000000000000") {
            fuoriFormato += perde(debito.substr(0, 5)) ? 1 : 0;
            const std::string_view cifre = debito.substr(5);
            totaleNoto.back() = totaleNoto.back() && soloCifre(cifre);
            totali.back() += soloCifre(cifre) ? std::stoll(std::string(cifre)) : 0;
        }
    }
    VERIFICA(k.righeScartate == linee.size() - prese);
    VERIFICA(k.versamenti == gruppi.size());
    for (std::size_t g = 0; g < gruppi.size(); ++g) {
        const Versamento v = Versamento::daByte(scritto.substr(g * 202, 202));
        VERIFICA(v.tipo() == '3' || v.tipo() == '6');
        VERIFICA(v.campo(Campo::codicefiscale) == gruppi[g].cf);
        VERIFICA(v.byte().substr(26, 8) == gruppi[g].data);
        VERIFICA(v.campo(Campo::annoimposta) == gruppi[g].anno);
        // A total the field can hold reads back exactly: eleven digits, or a "-"
        // and ten. A larger one cannot, and is counted.
        const std::int64_t t = totali[g];
        if (totaleNoto[g] && t <= 99'999'999'999 && t >= -9'999'999'999) {
            VERIFICA(valoreNumerico(v.campo(Campo::totale)) == static_cast<double>(t));
        } else if (totaleNoto[g]) {
            ++fuoriFormato;
        }
    }
    // Never a silent change: every amount known to lose digits is counted (the
    // interest of a violation payment may add more).
    VERIFICA(k.importiFuoriFormato >= fuoriFormato);
}

}  // namespace
}  // namespace pliventa::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
    using namespace pliventa;
    using namespace pliventa::fuzz;
    const std::string_view input = testo(dati, n);
    const std::string ingresso = inCartella("ingresso.txt");
    const std::string lavoro = inCartella("lavoro.out");
    scriviFile(ingresso, input);
    // A previous work file, to be replaced whole.
    scriviFile(lavoro, "precedente");

    const auto t = nuovaTrasformazione(kTracciato);
    const Esito<Conteggi> esito = importa(ingresso, lavoro, *t);
    VERIFICA(esito.ok());
    const Conteggi& k = *esito;
    const std::string scritto = leggiFile(lavoro);
    VERIFICA(contenutoCartella() == (std::vector<std::string>{"ingresso.txt", "lavoro.out"}));

    VERIFICA(k.versamenti == verificaRecord(scritto));
    const std::vector<std::string_view> linee = righe(input);
    VERIFICA(k.righeLette == linee.size());
    VERIFICA(k.righeScartate <= k.righeLette);
    VERIFICA(k.completate + k.troncate <= k.versamenti);
    switch (kTracciato) {
        case Tracciato::cnc2000:
        case Tracciato::viol1997:
            verificaCopia(linee, k, scritto);
            VERIFICA(k.importiFuoriFormato == 0);
            break;
        case Tracciato::cnc1997:
            verificaCnc1997(linee, k, scritto);
            VERIFICA(k.importiFuoriFormato == 0);
            break;
        case Tracciato::f24:
            verificaF24(linee, k, scritto);
            break;
    }
    return 0;
}
