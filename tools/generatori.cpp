// ANCI-CNC 2000, CNC 1997 and 1997-violation files.
#include "generatori.h"

#include <algorithm>
#include <cstdio>

#include "contribuenti.h"

namespace pliventa::genera {

Linea& Linea::a(std::size_t col, std::string_view v) {
    if (col - 1 < s_.size()) {
        s_.replace(col - 1, std::min(v.size(), s_.size() - (col - 1)),
                   v.substr(0, s_.size() - (col - 1)));
    }
    return *this;
}

Linea& Linea::cifre(std::size_t col, std::size_t larghezza, std::uint64_t v) {
    std::string d(larghezza, '0');
    for (std::size_t i = larghezza; i > 0 && v > 0; --i, v /= 10) {
        d[i - 1] = static_cast<char>('0' + v % 10);
    }
    return a(col, d);
}

std::string data(Casuale& caso, int anno) {
    char b[16];
    std::snprintf(b, sizeof b, "%04d%02d%02d", anno, static_cast<int>(caso.tra(1, 12)),
                  static_cast<int>(caso.tra(1, 28)));
    return b;
}

std::string campo(std::string_view s, std::size_t n) {
    std::string r(s.substr(0, n));
    r.resize(n, ' ');
    return r;
}

namespace {

/// Amounts of one payment, in the file's unit (euro cents or lire).
struct Importi {
    std::uint64_t terreni = 0, aree = 0, abitazione = 0, altri = 0, detrazione = 0;
    std::uint64_t totale() const { return terreni + aree + abitazione + altri; }
};

/// An ordinary payment: mostly the main dwelling and other buildings.
Importi ordinari(Casuale& caso, std::uint64_t unita, std::uint64_t detrazione) {
    Importi i;
    if (caso.su100(10)) {
        i.terreni = static_cast<std::uint64_t>(caso.tra(10, 900)) * unita;
    }
    if (caso.su100(5)) {
        i.aree = static_cast<std::uint64_t>(caso.tra(50, 3000)) * unita;
    }
    if (caso.su100(60)) {
        i.abitazione = static_cast<std::uint64_t>(caso.tra(20, 600)) * unita;
        i.detrazione = detrazione;
    }
    if (caso.su100(50) || i.totale() == 0) {
        i.altri = static_cast<std::uint64_t>(caso.tra(30, 2500)) * unita;
    }
    return i;
}

/// A violation payment: tax, penalties, pecuniary penalty and interest, in the
/// fields of land, building land, main dwelling and deduction.
Importi violazione(Casuale& caso, std::uint64_t unita) {
    Importi i;
    i.terreni = static_cast<std::uint64_t>(caso.tra(50, 1500)) * unita;
    i.aree = i.terreni * static_cast<std::uint64_t>(caso.tra(10, 30)) / 100;
    i.abitazione = caso.su100(30) ? static_cast<std::uint64_t>(caso.tra(50, 500)) * unita : 0;
    i.detrazione = static_cast<std::uint64_t>(caso.tra(1, 90)) * unita;
    return i;
}

/// The amount fields, the same columns in the 2000 and 1997-violation layouts
/// (total at 64-74, then 75, 85, 95, 105 and 115).
void mettiImporti(Linea& l, std::size_t colTotale, const Importi& i, bool violazione) {
    const std::uint64_t totale = i.totale() + (violazione ? i.detrazione : 0);
    l.cifre(colTotale, 11, totale)
        .cifre(colTotale + 11, 10, i.terreni)
        .cifre(colTotale + 21, 10, i.aree)
        .cifre(colTotale + 31, 10, i.abitazione)
        .cifre(colTotale + 41, 10, i.altri)
        .cifre(colTotale + 51, 8, i.detrazione);
}

std::string dataAtto(Casuale& caso, int anno) {
    const std::string d = data(caso, anno);  // yyyymmdd, the notice wants ddmmyyyy
    return d.substr(6, 2) + d.substr(4, 2) + d.substr(0, 4);
}

class Cnc2000 final : public Generatore {
public:
    explicit Cnc2000(std::uint64_t seme) : caso_(seme) {}

    std::string testa() override {
        return Linea(200)
            .a(1, "CNC")
            .a(4, kComune)
            .cifre(8, 18, 0)
            .a(26, "1")
            .a(27, "FLUSSO VERSAMENTI ICI - COMUNE DI VALLEFIORITA DEL PIAN\xd2")
            .str();
    }

    void blocco(std::vector<std::string>& righe) override {
        if (caso_.su100(2)) {
            // A summary record of the collection agent: type 4, not a payment.
            righe.push_back(Linea(200).a(1, "CNC").a(4, kComune).cifre(8, 18, n_).a(26, "4").str());
        }
        const Contribuente c = nuovoContribuente(caso_);
        const bool viol = caso_.su100(15);
        const int anno = static_cast<int>(caso_.tra(2002, 2007));
        const int annoImposta = viol ? anno - static_cast<int>(caso_.tra(1, 5)) : anno;
        Linea l(200);
        l.a(1, "CNC").a(4, kComune).cifre(8, 18, ++n_).a(26, viol ? "6" : "3");
        l.a(27, data(caso_, anno))
            .a(35, campo(c.codiceFiscale, 16))
            .cifre(51, 2, annoImposta % 100);
        l.cifre(53, 11, 0);
        mettiImporti(l, 64, viol ? violazione(caso_, 100) : ordinari(caso_, 100, 10329), viol);
        l.a(123, campo(c.denominazione(), 42));
        l.cifre(165, 4, static_cast<std::uint64_t>(caso_.tra(1, 5)));
        l.a(169, std::string(1, caso_.uno("1234"))).a(170, "000").cifre(173, 2, annoImposta % 100);
        if (viol) {
            // The long notice arrangement: 9-digit number, then the date ddmmyyyy.
            l.cifre(175, 9, static_cast<std::uint64_t>(caso_.tra(1, 999999999)));
            l.a(184, dataAtto(caso_, anno - 1));
        }
        righe.push_back(std::move(l.str()));
    }

    std::string coda(std::uint64_t righe) override {
        return Linea(200).a(1, "CNC").a(4, kComune).cifre(8, 18, righe).a(26, "9").str();
    }

private:
    Casuale caso_;
    std::uint64_t n_ = 0;
};

class Cnc1997 final : public Generatore {
public:
    explicit Cnc1997(std::uint64_t seme) : caso_(seme) {}

    std::string testa() override {
        return Linea(196)
            .a(1, "CNC")
            .a(4, kComune)
            .cifre(8, 18, 0)
            .a(26, "1")
            .a(27, "ICI 1997")
            .str();
    }

    void blocco(std::vector<std::string>& righe) override {
        const Contribuente c = nuovoContribuente(caso_);
        // Mostly ordinary payments; violations and other records are skipped by
        // the import of this layout.
        const int p = static_cast<int>(caso_.tra(0, 99));
        const char tipo = p < 90 ? '3' : p < 95 ? '6' : '4';
        const int anno = static_cast<int>(caso_.tra(1993, 2001));
        // A line is 196 characters; some agents add four blanks to make 200.
        Linea l(caso_.su100(10) ? 200 : 196);
        l.a(1, "CNC").a(4, kComune).cifre(8, 18, ++n_).a(26, std::string(1, tipo));
        l.a(27, data(caso_, anno).substr(2));  // yymmdd: the year in two digits
        l.a(33, campo(c.codiceFiscale, 16)).cifre(49, 2, anno % 100).cifre(51, 11, 0);
        // Whole lire, deduction 200,000 lire.
        mettiImporti(l, 62, ordinari(caso_, 1000, 200000), false);
        l.a(121, campo(c.denominazione(), 30));
        l.cifre(161, 4, static_cast<std::uint64_t>(caso_.tra(1, 4)));
        l.a(165, std::string(1, caso_.uno("1234")));
        righe.push_back(std::move(l.str()));
    }

    std::string coda(std::uint64_t righe) override {
        return Linea(196).a(1, "CNC").a(4, kComune).cifre(8, 18, righe).a(26, "9").str();
    }

private:
    Casuale caso_;
    std::uint64_t n_ = 0;
};

class Viol1997 final : public Generatore {
public:
    explicit Viol1997(std::uint64_t seme) : caso_(seme) {}

    std::string testa() override {
        return Linea(200).a(1, "VIO").a(4, kComune).cifre(8, 18, 0).a(26, "1").str();
    }

    void blocco(std::vector<std::string>& righe) override {
        const Contribuente c = nuovoContribuente(caso_);
        const bool viol = !caso_.su100(15);
        const int anno = static_cast<int>(caso_.tra(1997, 2001));
        const int annoImposta = anno - static_cast<int>(caso_.tra(1, 4));
        Linea l(200);
        l.a(1, "VIO").a(4, kComune).cifre(8, 18, ++n_).a(26, viol ? "6" : "3");
        l.a(27, data(caso_, anno))
            .a(35, campo(c.codiceFiscale, 16))
            .cifre(51, 2, annoImposta % 100);
        l.cifre(53, 11, 0);
        mettiImporti(l, 64, viol ? violazione(caso_, 1000) : ordinari(caso_, 1000, 200000), viol);
        l.a(123, campo(c.denominazione(), 42));
        l.cifre(165, 4, static_cast<std::uint64_t>(caso_.tra(1, 3)));
        l.a(169, "1000").cifre(173, 2, annoImposta % 100);
        if (viol) {
            // The short notice arrangement: 6-digit number, then the date ddmmyyyy.
            l.cifre(175, 6, static_cast<std::uint64_t>(caso_.tra(1, 999999)));
            l.a(181, dataAtto(caso_, anno - 1));
        }
        righe.push_back(std::move(l.str()));
    }

    std::string coda(std::uint64_t righe) override {
        return Linea(200).a(1, "VIO").a(4, kComune).cifre(8, 18, righe).a(26, "9").str();
    }

private:
    Casuale caso_;
    std::uint64_t n_ = 0;
};

}  // namespace

std::unique_ptr<Generatore> nuovoGeneratore(std::string_view tracciato, std::uint64_t seme) {
    if (tracciato == "cnc2000") {
        return std::make_unique<Cnc2000>(seme);
    }
    if (tracciato == "cnc1997") {
        return std::make_unique<Cnc1997>(seme);
    }
    if (tracciato == "viol1997") {
        return std::make_unique<Viol1997>(seme);
    }
    if (tracciato == "f24") {
        return nuovoF24(seme);
    }
    if (tracciato == "risconet") {
        return nuovoRisconet(seme);
    }
    return nullptr;
}

}  // namespace pliventa::genera
