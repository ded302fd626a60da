#include "records/visualizzazione.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "base/testo.h"

namespace pliventa {

namespace {

// Digits of `n` grouped by thousands with `gruppo` between the groups.
std::string raggruppa(std::uint64_t n, const std::string& gruppo) {
    std::string cifre = std::to_string(n);
    std::string out;
    const std::size_t primo = cifre.size() % 3 == 0 ? 3 : cifre.size() % 3;
    out.append(cifre, 0, primo);
    for (std::size_t i = primo; i < cifre.size(); i += 3) {
        out += gruppo;
        out.append(cifre, i, 3);
    }
    return out;
}

std::uint64_t assoluto(std::int64_t n) {
    return n < 0 ? static_cast<std::uint64_t>(-(n + 1)) + 1 : static_cast<std::uint64_t>(n);
}

}  // namespace

std::string formattaImporto(double valore, std::string_view valuta, const Separatori& sep) {
    // Fields hold at most twelve digits, far inside the exact range of a double.
    const std::int64_t intero = std::llround(valore);  // halves away from zero
    const std::uint64_t modulo = assoluto(intero);
    std::string out = intero < 0 ? "-" : "";
    if (valuta == "E") {
        const std::uint64_t centesimi = modulo % 100;
        out += raggruppa(modulo / 100, sep.migliaia);
        out += sep.decimali;
        out += static_cast<char>('0' + centesimi / 10);
        out += static_cast<char>('0' + centesimi % 10);
    } else {
        out += raggruppa(modulo, sep.migliaia);
    }
    return out;
}

std::string formattaNumero(double numero, const Separatori& sep) {
    if (std::isfinite(numero) && numero == std::trunc(numero) && std::fabs(numero) < 9.0e15) {
        return std::to_string(static_cast<std::int64_t>(numero));
    }
    char buffer[64];
    const auto [fine, ec] = std::to_chars(buffer, buffer + sizeof buffer, numero);
    std::string testo(buffer, ec == std::errc() ? fine : buffer);
    const auto punto = testo.find('.');
    if (punto != std::string::npos) {
        testo.replace(punto, 1, sep.decimali);
    }
    return testo;
}

TestiVoci testiVoci(const Versamento& v, std::string_view valuta, LetturaAtto lettura,
                    const Separatori& sep) {
    TestiVoci t;
    const bool violazione = v.violazione();
    const EstremiAtto atto = violazione ? v.estremi(lettura) : EstremiAtto{};
    for (const DescrizioneVoce& d : kVoci) {
        std::string& testo = t[indice(d.voce)];
        switch (d.genere) {
            case Genere::data:
                testo = daCp1252(v.dataVersamento());
                break;
            case Genere::testo:
            case Genere::anno:
                testo = daCp1252(v.campo(d.campo));
                break;
            case Genere::conteggio:
                testo = formattaNumero(valoreNumerico(v.campo(d.campo)), sep);
                break;
            case Genere::importo:
                testo = formattaImporto(valoreNumerico(v.campo(d.campo)), valuta, sep);
                break;
            case Genere::numeroAtto:
                testo = daCp1252(atto.numero);
                break;
            case Genere::dataAtto:
                testo = daCp1252(atto.data);
                break;
        }
    }
    return t;
}

Schermata mostrarecord(const Versamento& v, double recordcorrente, std::string_view valuta,
                       LetturaAtto lettura, FormaNumero forma, const Separatori& sep) {
    Schermata s;
    s.testi = testiVoci(v, valuta, lettura, sep);
    s.numero = formattaNumero(recordcorrente, sep);
    if (forma == FormaNumero::conPrefisso) {
        s.numero = "Vers. n. " + s.numero;
    }
    if (v.violazione()) {
        s.aspetto = Aspetto::violazioni;
        s.numero += " (Violazione)";
    }
    return s;
}

}  // namespace pliventa
