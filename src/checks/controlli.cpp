#include "checks/controlli.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "base/testo.h"
#include "records/somma.h"

namespace pliventa {

namespace {

bool cifra(char c) {
    return c >= '0' && c <= '9';
}

// What one character of a personal code may be, as bits of a table indexed by the
// byte: the code is checked with one lookup a character.
enum : std::uint8_t {
    kLettera = 1,   // A-Z
    kNumerico = 2,  // a digit, or a homocode letter standing for one
    kMese = 4,      // a month letter
};

// A homocode variant: when two people would get the same personal code, the
// revenue agency replaces digits from the right with these letters (0 to 9), so
// wherever the code holds a digit it may hold one of them instead.
constexpr std::string_view kOmocodia = "LMNPQRSTUV";

// The month of birth is one letter: A B C D E H L M P R S T for January to December.
constexpr std::string_view kMesi = "ABCDEHLMPRST";

// Check character of a personal code: the characters in odd positions (1st, 3rd,
// ...) count by this table, indexed by digit 0-9 then letter A-Z (a digit counts as
// the letter of the same rank); those in even positions count their rank (0-9,
// A=0 to Z=25). The sum modulo 26 is the check letter.
constexpr int kDispari[26] = {1,  0,  5, 7, 9, 13, 15, 17, 19, 21, 2,  4,  18,
                              20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};

struct Carattere {
    std::uint8_t classi = 0;
    std::uint8_t cifra = 0;    ///< the digit it stands for, when kNumerico
    std::uint8_t pari = 0;     ///< its count in an even position
    std::uint8_t dispari = 0;  ///< its count in an odd position
};

constexpr std::array<Carattere, 256> kCaratteri = [] {
    std::array<Carattere, 256> t{};
    for (char c = '0'; c <= '9'; ++c) {
        Carattere& x = t[static_cast<unsigned char>(c)];
        x.classi = kNumerico;
        x.cifra = static_cast<std::uint8_t>(c - '0');
        x.pari = x.cifra;
        x.dispari = static_cast<std::uint8_t>(kDispari[x.cifra]);
    }
    for (char c = 'A'; c <= 'Z'; ++c) {
        Carattere& x = t[static_cast<unsigned char>(c)];
        x.classi = kLettera;
        x.pari = static_cast<std::uint8_t>(c - 'A');
        x.dispari = static_cast<std::uint8_t>(kDispari[c - 'A']);
    }
    for (std::size_t i = 0; i < kOmocodia.size(); ++i) {
        Carattere& x = t[static_cast<unsigned char>(kOmocodia[i])];
        x.classi |= kNumerico;
        x.cifra = static_cast<std::uint8_t>(i);
    }
    for (char c : kMesi) {
        t[static_cast<unsigned char>(c)].classi |= kMese;
    }
    return t;
}();

// Shape: surname (3 letters), name (3), year (2 digits), month (letter), day
// (2 digits: 1-31, plus 40 for women), place of birth (letter and 3 digits),
// check letter.
constexpr std::array<std::uint8_t, 15> kForma = {
    kLettera, kLettera,  kLettera,  kLettera, kLettera,  kLettera,  kNumerico, kNumerico,
    kMese,    kNumerico, kNumerico, kLettera, kNumerico, kNumerico, kNumerico};

bool codicePersonaValido(std::string_view c) {
    int somma = 0;
    bool forma = true;
    for (std::size_t i = 0; i < kForma.size(); ++i) {
        const Carattere& x = kCaratteri[static_cast<unsigned char>(c[i])];
        forma = forma && (x.classi & kForma[i]) != 0;
        somma += i % 2 == 0 ? x.dispari : x.pari;
    }
    if (!forma) {
        return false;
    }
    const int giorno = kCaratteri[static_cast<unsigned char>(c[9])].cifra * 10 +
                       kCaratteri[static_cast<unsigned char>(c[10])].cifra;
    if (!((giorno >= 1 && giorno <= 31) || (giorno >= 41 && giorno <= 71))) {
        return false;
    }
    return c[15] == 'A' + somma % 26;
}

// A company's code (its VAT number) is 11 digits, the last one a check digit: the
// digits in odd positions add as they are, those in even positions doubled (less 9
// when the double exceeds 9); the check digit brings the sum to a multiple of 10.
bool codiceSocietaValido(std::string_view c) {
    int somma = 0;
    for (std::size_t i = 0; i < 11; ++i) {
        if (!cifra(c[i])) {
            return false;
        }
        int d = c[i] - '0';
        if (i % 2 == 1 && i < 10) {
            d *= 2;
            if (d > 9) {
                d -= 9;
            }
        }
        somma += d;
    }
    return somma % 10 == 0;
}

// The fields whose sum is the total, `quante` of them. An ordinary payment splits
// its total by kind of property; the deduction is already taken off the amounts,
// so it is not a part. A violation payment puts tax, penalties and pecuniary
// penalty in the first three fields and the interest in the deduction's field, and
// may carry other buildings too.
std::array<Campo, 5> partiDi(const Versamento& v, std::size_t& quante) {
    quante = v.violazione() ? 5 : 4;
    return {Campo::terreni, Campo::areefabbricabili, Campo::abitazioneprincipale,
            Campo::altrifabbricati, Campo::detrazione};
}

SommaEsatta sommaParti(const Versamento& v) {
    std::size_t quante = 0;
    const std::array<Campo, 5> parti = partiDi(v, quante);
    SommaEsatta s;
    for (std::size_t i = 0; i < quante; ++i) {
        s.aggiungi(importo(v.campo(parti[i])));
    }
    return s;
}

}  // namespace

SommaEsatta importo(std::string_view campo) {
    // Amount fields are, as a rule, plain zero-filled digits: those are read at
    // once, and anything else (a sign, blanks, decimals) by the numeric value rule.
    SommaEsatta s;
    if (const std::optional<std::int64_t> n = valoreCifre(campo)) {
        s.aggiungi(*n);
    } else {
        s.aggiungi(leggiNumero(campo));
    }
    return s;
}

std::string_view nomeRegola(Regola r) {
    switch (r) {
        case Regola::codice_fiscale:
            return "codice_fiscale";
        case Regola::data_versamento:
            return "data_versamento";
        case Regola::anno_imposta:
            return "anno_imposta";
        case Regola::totale_negativo:
            return "totale_negativo";
        case Regola::somma_parti:
            return "somma_parti";
        case Regola::duplicato:
            return "duplicato";
    }
    return {};
}

std::string_view descrizioneRegola(Regola r) {
    switch (r) {
        case Regola::codice_fiscale:
            return "Codice fiscale non valido";
        case Regola::data_versamento:
            return "Data di versamento inesistente";
        case Regola::anno_imposta:
            return "Anno d'imposta successivo al versamento";
        case Regola::totale_negativo:
            return "Totale negativo";
        case Regola::somma_parti:
            return "Totale diverso dalla somma delle parti";
        case Regola::duplicato:
            return "Versamento duplicato";
    }
    return {};
}

bool codiceFiscaleValido(std::string_view codice) {
    if (codice.size() == 16) {
        return codicePersonaValido(codice);
    }
    return codice.size() == 11 && codiceSocietaValido(codice);
}

bool dataVersamentoValida(const Versamento& v) {
    return v.giornoVersamento().has_value();
}

bool annoImpostaValido(const Versamento& v) {
    const std::optional<int> imposta = v.annoImposta();
    const std::optional<std::int64_t> versamento = valoreCifre(v.campo(Campo::annoversamento));
    return !imposta || !versamento || *imposta <= *versamento;
}

bool compensazioneF24(const Versamento& v) {
    // The F24 import marks every record it builds with constants no agent's file
    // carries together: "999" before the municipality, "002000000001" and "99999"
    // in field 14, "020" after the instalment code.
    const std::string_view r = v.byte();
    if (r.substr(0, 3) != "999" || r.substr(122, 12) != "002000000001" ||
        r.substr(159, 5) != "99999" || r.substr(169, 3) != "020") {
        return false;
    }
    // On an F24 form a taxpayer may offset a credit against what the same form
    // pays: the credit line enters the ICI lines with a "-", and when the credit
    // is used for other taxes of the form the ICI balance falls below zero. The
    // form as a whole is settled; the office has nothing to recover or refund, so
    // such a total is the normal outcome of a compensation and not an anomaly.
    // The import writes a sign only from a credit line, so a negative total in a
    // record it built is always a credit's doing.
    return importo(v.campo(Campo::totale)).negativa();
}

bool totaleNonNegativo(const Versamento& v) {
    const std::string_view totale = v.campo(Campo::totale);
    return totale.find('-') == std::string_view::npos || !importo(totale).negativa() ||
           compensazioneF24(v);
}

bool sommaPartiCorretta(const Versamento& v) {
    // The common case in whole numbers; exact sums only when a field is not plain.
    if (const auto importi = importiSemplici(v)) {
        const auto& [totale, terreni, aree, abitazione, altri, detrazione] = *importi;
        return totale == terreni + aree + abitazione + altri + (v.violazione() ? detrazione : 0);
    }
    return importo(v.campo(Campo::totale)) == sommaParti(v);
}

Violazioni controlla(const Versamento& v) {
    Violazioni esito = 0;
    const auto segna = [&esito](Regola r, bool rispettata) {
        if (!rispettata) {
            esito = static_cast<Violazioni>(esito | (1u << static_cast<unsigned>(r)));
        }
    };
    segna(Regola::codice_fiscale, codiceFiscaleValido(senzaSpazi(v.campo(Campo::codicefiscale))));
    segna(Regola::data_versamento, dataVersamentoValida(v));
    segna(Regola::anno_imposta, annoImpostaValido(v));
    segna(Regola::totale_negativo, totaleNonNegativo(v));
    segna(Regola::somma_parti, sommaPartiCorretta(v));
    return esito;
}

namespace {

// What the rule looked at, the amounts written by `scrivi`.
std::string valore(const Versamento& v, Regola r, std::uint32_t originale,
                   const std::function<std::string(const SommaEsatta&)>& scrivi) {
    switch (r) {
        case Regola::codice_fiscale:
            return daCp1252(senzaSpazi(v.campo(Campo::codicefiscale)));
        case Regola::data_versamento:
            return daCp1252(v.dataVersamento());
        case Regola::anno_imposta:
            return "anno " + daCp1252(v.annoImpostaCompleto()) + ", versamento " +
                   daCp1252(v.campo(Campo::annoversamento));
        case Regola::totale_negativo:
            return scrivi(importo(v.campo(Campo::totale)));
        case Regola::somma_parti:
            return "totale " + scrivi(importo(v.campo(Campo::totale))) + ", parti " +
                   scrivi(sommaParti(v));
        case Regola::duplicato:
            return "uguale al versamento " + std::to_string(originale);
    }
    return {};
}

}  // namespace

std::string valoreControllato(const Versamento& v, Regola r, bool euro, std::uint32_t originale) {
    return valore(v, r, originale,
                  [euro](const SommaEsatta& s) { return testoEsatto(s.numero(), euro); });
}

std::string valoreMostrato(const Versamento& v, Regola r, std::string_view valuta,
                           const Separatori& sep, std::uint32_t originale) {
    return valore(v, r, originale,
                  [&](const SommaEsatta& s) { return formattaImporto(s.valore(1), valuta, sep); });
}

}  // namespace pliventa
