#include "risconet/risconet.h"

#include <array>
#include <cstdio>
#include <vector>

#include "records/versamento.h"

namespace pliventa {

namespace {

/// The fields of a line: the texts between the ";". The last field is whole
/// whether or not the line ends in ";" (a final ";" closes it, adding nothing).
std::vector<std::string_view> campi(std::string_view riga) {
    std::vector<std::string_view> out;
    std::size_t inizio = 0;
    for (;;) {
        const std::size_t fine = riga.find(';', inizio);
        if (fine == std::string_view::npos) {
            if (inizio < riga.size()) {
                out.push_back(riga.substr(inizio));
            }
            return out;
        }
        out.push_back(riga.substr(inizio, fine - inizio));
        inizio = fine + 1;
    }
}

/// Writes `pezzo` at 1-based `colonna` into a slot of `larghezza`: a shorter
/// piece fills the slot's first characters, a longer one is cut.
void metti(std::string& riga, std::size_t colonna, std::size_t larghezza, std::string_view pezzo) {
    riga.replace(colonna - 1, std::min(pezzo.size(), larghezza), pezzo.substr(0, larghezza));
}

/// The numeric value of `testo` divided by 10^`scala`, rounded to a whole number
/// (halves away from zero), as digits padded with zeros to `larghezza`. A negative
/// value puts its "-" in the first place of the width ("-000000002"), so that the
/// cut to the slot never takes its last digit. Worked on the digits, so exact for
/// any field. A value with more digits than the width is written whole.
std::string intero(std::string_view testo, std::size_t scala, std::size_t larghezza) {
    const NumeroLetto n = leggiNumero(testo);
    const std::size_t decimali = n.decimali + scala;
    std::string cifre = n.cifre;
    if (cifre.size() <= decimali) {
        cifre.insert(0, decimali - cifre.size() + 1, '0');
    }
    std::string interi = cifre.substr(0, cifre.size() - decimali);
    const bool suPiu = decimali > 0 && cifre[cifre.size() - decimali] >= '5';
    if (suPiu) {
        std::size_t i = interi.size();
        while (i > 0 && interi[i - 1] == '9') {
            interi[--i] = '0';
        }
        if (i == 0) {
            interi.insert(0, 1, '1');
        } else {
            ++interi[i - 1];
        }
    }
    const std::size_t primo = interi.find_first_not_of('0');
    interi = primo == std::string::npos ? "" : interi.substr(primo);
    const bool negativo = n.negativo && !interi.empty();  // no "-0"
    const std::size_t cifreLarghe = negativo ? larghezza - 1 : larghezza;
    if (interi.size() < cifreLarghe) {
        interi.insert(0, cifreLarghe - interi.size(), '0');
    }
    return negativo ? "-" + interi : interi;
}

/// The payment date yyyymmdd: characters 1-4, 6-7 and 9-10 of the field, as in
/// "2003-07-15 00:00:00" or "2003-07-15". A field that does not read as a number
/// above zero (empty, not starting with a digit), or is too short to hold a date,
/// gives 1 January 1901.
std::string data(std::string_view campo) {
    if (valoreNumerico(campo) <= 0 || campo.size() <= 2) {
        return "19010101";
    }
    auto parte = [&](std::size_t da, std::size_t n) {
        return da < campo.size() ? campo.substr(da, n) : std::string_view();
    };
    std::string d(parte(0, 4));
    d += parte(5, 2);
    d += parte(8, 2);
    return d;
}

class ConversioneRisconet final : public Trasformazione {
public:
    explicit ConversioneRisconet(std::string belfiore) : belfiore_(std::move(belfiore)) {}

    bool riga(const Riga& riga, Uscita& uscita) override {
        if (!intestazioneLetta_) {
            intestazioneLetta_ = true;
            return false;
        }
        const std::optional<std::string> cnc = convertiRiga(riga.testo, belfiore_, scritte_ + 1);
        if (!cnc) {
            return false;
        }
        ++scritte_;
        uscita.scrivi(*cnc);
        return true;
    }

private:
    std::string belfiore_;
    bool intestazioneLetta_ = false;
    std::uint64_t scritte_ = 0;
};

}  // namespace

std::string percorsoConvertito(std::string_view input) {
    const std::size_t barra = input.rfind('/');
    std::string out(barra == std::string_view::npos ? std::string_view()
                                                    : input.substr(0, barra + 1));
    out += kNomeConvertito;
    return out;
}

std::optional<std::string> convertiRiga(std::string_view riga, std::string_view belfiore,
                                        std::uint64_t progressivo) {
    if (riga.empty()) {
        return std::nullopt;
    }
    const std::vector<std::string_view> f = campi(riga);
    // A line that ends with its fourth field is written only when that flag is "N".
    if (f.size() == 4 && f[3] != "N") {
        return std::nullopt;
    }
    auto ha = [&](std::size_t numero) { return f.size() >= numero; };
    auto campo = [&](std::size_t numero) { return f[numero - 1]; };

    std::string out(Versamento::kLarghezzaDati, ' ');
    metti(out, 4, 4, belfiore);
    char numero[24];
    std::snprintf(numero, sizeof numero, "%018llu", static_cast<unsigned long long>(progressivo));
    metti(out, 8, 18, numero);
    metti(out, 26, 1, "3");  // an ordinary payment
    if (ha(2)) {
        metti(out, 27, 8, data(campo(2)));
    }
    if (ha(6)) {
        const std::string_view anno = campo(6);
        metti(out, 51, 2, anno.substr(anno.size() > 2 ? anno.size() - 2 : 0));
    }
    if (ha(7)) {
        metti(out, 165, 4, intero(campo(7), 0, 4));
    }
    if (ha(8)) {
        metti(out, 169, 1, campo(8) == "0" ? std::string_view("3") : campo(8));
    }
    // Amounts come in tenths of the unit the work file keeps.
    constexpr struct {
        std::size_t campo, colonna, larghezza;
    } kImporti[] = {
        {9, 63, 12},    // total
        {16, 75, 10},   // agricultural land
        {17, 85, 10},   // building areas
        {18, 95, 10},   // main dwelling
        {19, 105, 10},  // other buildings
        {20, 115, 8},   // main-dwelling deduction
    };
    for (const auto& i : kImporti) {
        if (ha(i.campo)) {
            metti(out, i.colonna, i.larghezza, intero(campo(i.campo), 1, i.larghezza));
        }
    }
    if (ha(21)) {
        metti(out, 35, 16, campo(21));
    }
    return out;
}

std::unique_ptr<Trasformazione> nuovaConversioneRisconet(std::string belfiore) {
    return std::make_unique<ConversioneRisconet>(std::move(belfiore));
}

}  // namespace pliventa
