#include "records/versamento.h"

#include <algorithm>
#include <cstring>

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
    if (byte.size() >= kLunghezzaRecord) {
        // The common case, every record of a scan: one copy of fixed size.
        Versamento v{DaRiempire{}};
        std::memcpy(v.dati_.data(), byte.data(), kLunghezzaRecord);
        return v;
    }
    Versamento v;
    std::copy_n(byte.begin(), byte.size(), v.dati_.begin());
    return v;
}

EstremiAtto Versamento::estremi(LetturaAtto lettura) const {
    const std::string_view f = campo(Campo::estremiatto);
    auto data = [&](std::size_t da) {
        return std::string(parte(f, da, 2)) + "/" + std::string(parte(f, da + 2, 2)) + "/" +
               std::string(parte(f, da + 4, 4));
    };
    auto giorno = [&](std::size_t da) {
        return giornoValido(parte(f, da + 4, 4), parte(f, da + 2, 2), parte(f, da, 2));
    };
    if (lettura == LetturaAtto::lunga) {
        return {std::string(parte(f, 7, 9)), data(16), giorno(16)};
    }
    return {std::string(parte(f, 7, 6)), data(13), giorno(13)};
}

std::string Versamento::dataVersamento() const {
    return std::string(campo(Campo::giornoversamento)) + "/" +
           std::string(campo(Campo::meseversamento)) + "/" +
           std::string(campo(Campo::annoversamento));
}

std::string Versamento::annoImpostaCompleto() const {
    return annoCompleto(campo(Campo::annoimposta));
}

std::string annoCompleto(std::string_view dueCifre) {
    return (secolo(valoreNumerico(dueCifre)) == 2000 ? "20" : "19") + std::string(dueCifre);
}

NumeroLetto leggiNumero(std::string_view testo) {
    NumeroLetto n;
    n.negativo = scorriNumero(testo, [&n](char c, bool decimale) {
        n.cifre += c;
        n.decimali += decimale ? 1 : 0;
        return true;
    });
    return n;
}

double valoreNumerico(std::string_view testo) {
    // The digits are taken as one whole number and scaled once at the end, so that
    // "123.45" gives the double nearest to 123.45 and whole amounts stay exact.
    double cifre = 0;
    std::size_t decimali = 0;
    const bool negativo = scorriNumero(testo, [&](char c, bool decimale) {
        cifre = cifre * 10 + (c - '0');
        decimali += decimale ? 1 : 0;
        return true;
    });
    double scala = 1;  // powers of ten up to 1e22 are exact doubles
    for (std::size_t i = 0; i < decimali; ++i) {
        scala *= 10;
    }
    const double valore = cifre / scala;
    return negativo ? -valore : valore;
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
