// The record decoding, the display model and the numeric value rule: the input is
// a record (its first 202 bytes) and, whole, a text for the rule. The exact text of
// a number must read back as itself, exact sums must agree with it, and every
// amount on screen must be the exact value rounded and grouped.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "records/somma.h"
#include "records/versamento.h"
#include "records/visualizzazione.h"
#include "supporto.h"

namespace pliventa::fuzz {
namespace {

bool cifra(char c) {
    return c >= '0' && c <= '9';
}

/// True for "-?(0|[1-9][0-9]*)(\.[0-9]*[1-9])?" with at least `minimo` decimals
/// (then trailing zeros up to `minimo` are allowed), never "-0".
bool testoEsattoBenFormato(std::string_view t, std::size_t minimo) {
    const bool meno = !t.empty() && t[0] == '-';
    std::string_view resto = t.substr(meno ? 1 : 0);
    const std::size_t punto = resto.find('.');
    const std::string_view intera = resto.substr(0, punto);
    const std::string_view frazione =
        punto == std::string_view::npos ? std::string_view() : resto.substr(punto + 1);
    if (intera.empty() || (intera.size() > 1 && intera[0] == '0')) {
        return false;
    }
    for (char c : intera) {
        if (!cifra(c)) {
            return false;
        }
    }
    for (char c : frazione) {
        if (!cifra(c)) {
            return false;
        }
    }
    if (punto != std::string_view::npos && frazione.empty()) {
        return false;
    }
    if (frazione.size() < minimo || (frazione.size() > minimo && frazione.back() == '0')) {
        return false;
    }
    const bool zero = intera == "0" && frazione.find_first_not_of('0') == std::string_view::npos;
    return !(meno && zero);
}

/// The numeric rule's checks on one text of any length.
void verificaNumero(std::string_view t) {
    const NumeroLetto n = leggiNumero(t);
    for (char c : n.cifre) {
        VERIFICA(cifra(c));
    }
    VERIFICA(n.decimali <= n.cifre.size());
    const std::string unita = testoEsatto(n, false);
    const std::string centesimi = testoEsatto(n, true);
    VERIFICA(testoEsattoBenFormato(unita, 0));
    VERIFICA(testoEsattoBenFormato(centesimi, 2));
    // The exact text is a number by the same rule, and the same number.
    VERIFICA(testoEsatto(leggiNumero(unita), false) == unita);
    VERIFICA(testoEsatto(leggiNumero(centesimi), false) ==
             testoEsatto(NumeroLetto{n.negativo, n.cifre, n.decimali + 2}, false));
    // The double is the exact value to within the rounding of its digits.
    if (n.cifre.size() <= 40 && n.decimali <= 22) {
        const double atteso = std::strtod(unita.c_str(), nullptr);
        const double letto = valoreNumerico(t);
        VERIFICA(std::fabs(letto - atteso) <= std::fabs(atteso) * 1e-13);
    }
}

/// Exact sums of one field's text: its value comes back, and adding its opposite
/// gives zero.
void verificaSomma(std::string_view campo) {
    const NumeroLetto n = leggiNumero(campo);
    SommaEsatta s;
    s.aggiungi(n);
    VERIFICA(testoEsatto(s.numero(), false) == testoEsatto(n, false));
    VERIFICA(testoEsatto(s.numero(), true) == testoEsatto(n, true));
    VERIFICA(s.negativa() == (testoEsatto(n, false)[0] == '-'));
    NumeroLetto opposto = n;
    opposto.negativo = !n.negativo;
    SommaEsatta zero = s;
    zero.aggiungi(opposto);
    VERIFICA(zero == SommaEsatta{});
}

/// `valore` (exact text without grouping) rounded half away from zero to `scala`
/// decimals, then grouped as the window groups it.
std::string importoAtteso(const std::string& esatto, bool euro, const Separatori& sep) {
    const bool meno = esatto[0] == '-';
    std::string cifre = esatto.substr(meno ? 1 : 0);
    const std::size_t punto = cifre.find('.');
    std::string intera = cifre.substr(0, punto);
    const std::string frazione = punto == std::string::npos ? "" : cifre.substr(punto + 1);
    // Cents are the stored unit: "E" shows them as units and two decimals.
    if (frazione.size() > 0 && frazione[0] >= '5') {
        std::size_t i = intera.size();
        for (; i > 0 && intera[i - 1] == '9'; --i) {
            intera[i - 1] = '0';
        }
        if (i == 0) {
            intera.insert(intera.begin(), '1');
        } else {
            ++intera[i - 1];
        }
    }
    std::string decimali;
    if (euro) {
        intera.insert(0, intera.size() < 3 ? 3 - intera.size() : 0, '0');
        decimali = intera.substr(intera.size() - 2);
        intera.erase(intera.size() - 2);
        intera.erase(0, std::min(intera.find_first_not_of('0'), intera.size() - 1));
    }
    std::string out;
    const bool zero = intera == "0" && decimali.find_first_not_of('0') == std::string::npos;
    if (meno && !zero) {
        out += '-';
    }
    for (std::size_t i = 0; i < intera.size(); ++i) {
        if (i > 0 && (intera.size() - i) % 3 == 0) {
            out += sep.migliaia;
        }
        out += intera[i];
    }
    if (euro) {
        out += sep.decimali + decimali;
    }
    return out;
}

}  // namespace
}  // namespace pliventa::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
    using namespace pliventa;
    using namespace pliventa::fuzz;
    const std::string_view input = testo(dati, n);

    const Versamento v = Versamento::daByte(input);
    const std::string_view b = v.byte();
    VERIFICA(b.size() == Versamento::kLunghezzaRecord);
    for (std::size_t i = 0; i < b.size(); ++i) {
        const char vuoto = i < 200 ? ' ' : (i == 200 ? '\r' : '\n');
        VERIFICA(b[i] == (i < input.size() ? input[i] : vuoto));
    }
    // The fields tile the record, in order.
    std::string campi;
    for (int c = 1; c <= 17; ++c) {
        const Posizione p = posizione(static_cast<Campo>(c));
        VERIFICA(p.inizio == campi.size());
        VERIFICA(v.campo(static_cast<Campo>(c)).size() == p.larghezza);
        campi += v.campo(static_cast<Campo>(c));
    }
    VERIFICA(campi == b);

    verificaNumero(input);
    constexpr Campo kImporti[] = {Campo::totale,           Campo::terreni,
                                  Campo::areefabbricabili, Campo::abitazioneprincipale,
                                  Campo::detrazione,       Campo::altrifabbricati};
    SommaEsatta avanti, indietro;
    for (std::size_t i = 0; i < std::size(kImporti); ++i) {
        verificaNumero(v.campo(kImporti[i]));
        verificaSomma(v.campo(kImporti[i]));
        avanti.aggiungi(leggiNumero(v.campo(kImporti[i])));
        indietro.aggiungi(leggiNumero(v.campo(kImporti[std::size(kImporti) - 1 - i])));
    }
    VERIFICA(avanti == indietro);

    // The amounts read eight digits at a time are the rule's values, and a record
    // they leave to the rule has something other than a digit among them.
    const std::string_view colonne = b.substr(posizione(Campo::totale).inizio, 59);
    if (const auto semplici = importiSemplici(v)) {
        constexpr Campo kInOrdine[] = {Campo::totale,           Campo::terreni,
                                       Campo::areefabbricabili, Campo::abitazioneprincipale,
                                       Campo::altrifabbricati,  Campo::detrazione};
        for (std::size_t i = 0; i < std::size(kInOrdine); ++i) {
            VERIFICA(std::to_string((*semplici)[i]) ==
                     testoEsatto(leggiNumero(v.campo(kInOrdine[i])), false));
        }
    } else {
        VERIFICA(colonne.find_first_not_of("0123456789") != std::string_view::npos);
    }

    const Separatori punto;
    const Separatori apostrofo{"\xE2\x80\x99", "\xC2\xB7"};  // ’ and ·, two UTF-8 separators
    for (const Separatori& sep : {punto, apostrofo}) {
        for (const std::string_view valuta : {"E", "L", ""}) {
            for (const LetturaAtto lettura : {LetturaAtto::lunga, LetturaAtto::breve}) {
                const Schermata s =
                    mostrarecord(v, 3.5, valuta, lettura, FormaNumero::conPrefisso, sep);
                for (const std::string& t : s.testi) {
                    VERIFICA(utf8BenFormato(t));
                }
                VERIFICA(s.numero.starts_with("Vers. n. 3"));
                VERIFICA((s.aspetto == Aspetto::violazioni) == v.violazione());
                VERIFICA(s.numero.ends_with(" (Violazione)") == v.violazione());
                for (std::size_t i = 0; i < std::size(kImporti); ++i) {
                    const std::string esatto =
                        testoEsatto(leggiNumero(v.campo(kImporti[i])), false);
                    VERIFICA(s.testo(kVociImporto[i]) == importoAtteso(esatto, valuta == "E", sep));
                }
            }
        }
    }
    const Schermata solo =
        mostrarecord(v, 12, "E", LetturaAtto::lunga, FormaNumero::soloNumero, punto);
    VERIFICA(solo.numero.starts_with("12"));
    return 0;
}
