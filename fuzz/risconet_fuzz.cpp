// The Risconet conversion through the streaming routine: every output line is 200
// characters and CR LF, one per payment line, and each amount lands in its slot
// rounded as an independent reckoning on the decimal digits says.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "importers/importazione.h"
#include "records/versamento.h"
#include "risconet/risconet.h"
#include "supporto.h"

namespace pliventa::fuzz {
namespace {

constexpr std::string_view kBelfiore = "Z999";

/// The fields of a line: the texts between the ";", a final ";" adding nothing.
std::vector<std::string_view> campi(std::string_view riga) {
    std::vector<std::string_view> out;
    std::size_t inizio = 0;
    for (std::size_t i = 0; i < riga.size(); ++i) {
        if (riga[i] == ';') {
            out.push_back(riga.substr(inizio, i - inizio));
            inizio = i + 1;
        }
    }
    if (inizio < riga.size()) {
        out.push_back(riga.substr(inizio));
    }
    return out;
}

/// What the slot of `larghezza` holds for the field `testo` divided by 10^`scala`:
/// the value by the numeric value rule rounded half away from zero, zero-filled,
/// a "-" first when negative, cut to the slot when longer.
std::string slotAtteso(std::string_view testo, std::size_t larghezza, std::size_t scala) {
    const NumeroLetto n = leggiNumero(testo);
    const std::size_t decimali = n.decimali + scala;
    std::string interi;
    char tolta = '0';
    if (n.cifre.size() > decimali) {
        interi = n.cifre.substr(0, n.cifre.size() - decimali);
        tolta = decimali > 0 ? n.cifre[interi.size()] : '0';
    } else if (n.cifre.size() == decimali && decimali > 0) {
        tolta = n.cifre[0];
    }
    if (tolta >= '5') {
        // Add one to the whole part, carrying through the nines.
        std::size_t i = interi.size();
        for (; i > 0 && interi[i - 1] == '9'; --i) {
            interi[i - 1] = '0';
        }
        if (i == 0) {
            interi.insert(interi.begin(), '1');
        } else {
            ++interi[i - 1];
        }
    }
    interi.erase(0, std::min(interi.find_first_not_of('0'), interi.size()));
    const bool meno = n.negativo && !interi.empty();
    std::string out = meno ? "-" : "";
    const std::size_t libere = larghezza - (meno ? 1 : 0);
    if (interi.size() < libere) {
        out.append(libere - interi.size(), '0');
    }
    out += interi;
    return out.substr(0, larghezza);
}

bool vuoto(std::string_view s) {
    return s.find_first_not_of(' ') == std::string_view::npos;
}

/// Checks the CNC line of `riga` numbered `numero` against the fields of the line.
void verificaRiga(std::string_view rec, std::string_view riga, std::uint64_t numero) {
    const std::vector<std::string_view> f = campi(riga);
    auto ha = [&](std::size_t c) { return f.size() >= c; };
    std::string progressivo = std::to_string(numero);
    progressivo.insert(0, 18 - progressivo.size(), '0');
    VERIFICA(vuoto(rec.substr(0, 3)));
    VERIFICA(rec.substr(3, 4) == kBelfiore);
    VERIFICA(rec.substr(7, 18) == progressivo);
    VERIFICA(rec[25] == '3');
    VERIFICA(vuoto(rec.substr(52, 10)));
    VERIFICA(vuoto(rec.substr(122, 42)));
    VERIFICA(vuoto(rec.substr(169, 31)));
    constexpr struct {
        std::size_t campo, colonna, larghezza, scala;
    } kSlot[] = {
        {7, 165, 4, 0},  {9, 63, 12, 1},   {16, 75, 10, 1}, {17, 85, 10, 1},
        {18, 95, 10, 1}, {19, 105, 10, 1}, {20, 115, 8, 1},
    };
    for (const auto& s : kSlot) {
        const std::string_view slot = rec.substr(s.colonna - 1, s.larghezza);
        if (ha(s.campo)) {
            VERIFICA(slot == slotAtteso(f[s.campo - 1], s.larghezza, s.scala));
        } else {
            VERIFICA(vuoto(slot));
        }
    }
    const std::string_view cf = ha(21) ? f[20].substr(0, 16) : std::string_view();
    VERIFICA(rec.substr(34, cf.size()) == cf);
    VERIFICA(vuoto(rec.substr(34 + cf.size(), 16 - cf.size())));
}

}  // namespace
}  // namespace pliventa::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
    using namespace pliventa;
    using namespace pliventa::fuzz;
    const std::string_view input = testo(dati, n);

    // The function alone, on the whole input as one line, line ends and all.
    RigaCnc sola{};
    const std::vector<std::string_view> tutti = campi(input);
    const bool scritta = convertiRiga(input, kBelfiore, 7, sola);
    VERIFICA(scritta == (!input.empty() && !(tutti.size() == 4 && tutti[3] != "N")));

    const std::string ingresso = inCartella("risconet.csv");
    const std::string uscita = inCartella("versunir.out");
    scriviFile(ingresso, input);
    const auto t = nuovaConversioneRisconet(std::string(kBelfiore));
    const Esito<Conteggi> esito = importa(ingresso, uscita, *t);
    VERIFICA(esito.ok());
    const std::string scritto = leggiFile(uscita);
    VERIFICA(contenutoCartella() == (std::vector<std::string>{"risconet.csv", "versunir.out"}));
    VERIFICA(esito->versamenti == verificaRecord(scritto));

    // The first line is the header; an empty line, or one of four fields whose
    // fourth is not "N", writes nothing.
    const std::vector<std::string_view> linee = righe(input);
    VERIFICA(esito->righeLette == linee.size());
    std::uint64_t numero = 0;
    for (std::size_t i = 1; i < linee.size(); ++i) {
        // The conversion reads its lines whole up to its limit.
        const std::string_view riga = linee[i].substr(0, kRigaMassimaRisconet);
        const std::vector<std::string_view> f = campi(riga);
        if (riga.empty() || (f.size() == 4 && f[3] != "N")) {
            continue;
        }
        ++numero;
        VERIFICA(numero * 202 <= scritto.size());
        verificaRiga(std::string_view(scritto).substr((numero - 1) * 202, 200), riga, numero);
    }
    VERIFICA(esito->versamenti == numero);
    VERIFICA(esito->righeScartate == esito->righeLette - numero);
    VERIFICA(esito->completate == 0 && esito->troncate == 0);
    const auto lunghe = std::count_if(linee.begin(), linee.end(), [](std::string_view l) {
        return l.size() > kRigaMassimaRisconet;
    });
    VERIFICA(esito->righeTagliate == static_cast<std::uint64_t>(lunghe));
    return 0;
}
