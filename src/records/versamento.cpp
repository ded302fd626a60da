#include "records/versamento.h"

#include <algorithm>

namespace pliventa {

namespace {

std::string_view parte(std::string_view s, std::size_t da, std::size_t n) {
    return s.substr(da - 1, n);
}

}  // namespace

Versamento::Versamento() {
    dati_.fill(' ');
    dati_[200] = '\r';
    dati_[201] = '\n';
}

Versamento Versamento::daByte(std::string_view byte) {
    Versamento v;
    std::copy_n(byte.begin(), std::min(byte.size(), kLunghezzaRecord), v.dati_.begin());
    return v;
}

EstremiAtto Versamento::estremi(LetturaAtto lettura) const {
    const std::string_view f = campo(Campo::estremiatto);
    auto data = [&](std::size_t da) {
        return std::string(parte(f, da, 2)) + "/" + std::string(parte(f, da + 2, 2)) + "/" +
               std::string(parte(f, da + 4, 4));
    };
    if (lettura == LetturaAtto::lunga) {
        return {std::string(parte(f, 7, 9)), data(16)};
    }
    return {std::string(parte(f, 7, 6)), data(13)};
}

std::string Versamento::dataVersamento() const {
    return std::string(campo(Campo::giornoversamento)) + "/" +
           std::string(campo(Campo::meseversamento)) + "/" +
           std::string(campo(Campo::annoversamento));
}

std::string Versamento::annoImpostaCompleto() const {
    const std::string_view anno = campo(Campo::annoimposta);
    return (valoreNumerico(anno) < 93 ? "20" : "19") + std::string(anno);
}

NumeroLetto leggiNumero(std::string_view testo) {
    NumeroLetto n;
    bool dopoPunto = false;
    bool inizio = true;  // no sign, digit or point seen yet
    for (char c : testo) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            continue;
        }
        if (inizio && (c == '-' || c == '+')) {
            n.negativo = c == '-';
        } else if (c >= '0' && c <= '9') {
            n.cifre += c;
            n.decimali += dopoPunto ? 1 : 0;
        } else if (c == '.' && !dopoPunto) {
            dopoPunto = true;
        } else {
            break;
        }
        inizio = false;
    }
    return n;
}

double valoreNumerico(std::string_view testo) {
    // The digits are taken as one whole number and scaled once at the end, so that
    // "123.45" gives the double nearest to 123.45 and whole amounts stay exact.
    const NumeroLetto n = leggiNumero(testo);
    double cifre = 0;
    for (char c : n.cifre) {
        cifre = cifre * 10 + (c - '0');
    }
    double scala = 1;  // powers of ten up to 1e22 are exact doubles
    for (std::size_t i = 0; i < n.decimali; ++i) {
        scala *= 10;
    }
    const double valore = cifre / scala;
    return n.negativo ? -valore : valore;
}

std::string_view senzaSpazi(std::string_view testo) {
    const auto primo = testo.find_first_not_of(' ');
    if (primo == std::string_view::npos) {
        return {};
    }
    const auto ultimo = testo.find_last_not_of(' ');
    return testo.substr(primo, ultimo - primo + 1);
}

}  // namespace pliventa
