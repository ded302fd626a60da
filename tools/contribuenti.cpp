#include "contribuenti.h"

#include <array>
#include <cstdio>

namespace pliventa::genera {

namespace {

// Syllables that make surnames nobody has; a few end on an accented vowel, so the
// files carry bytes above 127 as the real ones do.
constexpr std::array<std::string_view, 24> kInizi = {
    "Bar", "Cor", "Dal", "Fen", "Gar", "Lom", "Mar", "Nev", "Pag", "Ros", "Sal", "Tor",
    "Val", "Zan", "Bel", "Cam", "Fer", "Gra", "Mol", "Pel", "Ric", "Ser", "Ter", "Vig"};
constexpr std::array<std::string_view, 16> kMezzi = {
    "an", "el", "in", "or", "ul", "ab", "es", "ig", "on", "ar", "ed", "il", "ov", "ut", "am", "er"};
constexpr std::array<std::string_view, 12> kFini = {"zi",   "ni",  "etti", "ari",  "one", "ello",
                                                    "uzzi", "ato", "\xf2", "\xe0", "ese", "ucci"};
constexpr std::array<std::string_view, 12> kNomiM = {"Nicol\xf2", "Mattia", "Luca",    "Andrea",
                                                     "Pietro",    "Elia",   "Tommaso", "Dario",
                                                     "Marco",     "Enea",   "Ivo",     "Ugo"};
constexpr std::array<std::string_view, 12> kNomiF = {"Giulia", "Chiara", "Irene", "Sara",
                                                     "Ada",    "Noemi",  "Bice",  "Elena",
                                                     "Marta",  "Ilaria", "Nives", "Ortensia"};
constexpr std::string_view kMesi = "ABCDEHLMPRST";

template <std::size_t N>
std::string_view una(Casuale& caso, const std::array<std::string_view, N>& lista) {
    return lista[static_cast<std::size_t>(caso.tra(0, N - 1))];
}

/// The plain capital letter of a Windows-1252 letter (accents dropped); 0 for
/// anything that is not a letter.
char lettera(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 'a' && u <= 'z') {
        return static_cast<char>(u - 32);
    }
    if (u >= 'A' && u <= 'Z') {
        return c;
    }
    switch (u | 0x20) {  // the accented vowels, either case
        case 0xe0:
            return 'A';
        case 0xe8:
        case 0xe9:
            return 'E';
        case 0xec:
            return 'I';
        case 0xf2:
            return 'O';
        case 0xf9:
            return 'U';
        default:
            return 0;
    }
}

bool vocale(char c) {
    return c == 'A' || c == 'E' || c == 'I' || c == 'O' || c == 'U';
}

/// Consonants and vowels of a name, in order, as plain capitals.
void lettere(std::string_view s, std::string& consonanti, std::string& vocali) {
    for (char c : s) {
        const char l = lettera(c);
        if (l != 0) {
            (vocale(l) ? vocali : consonanti) += l;
        }
    }
}

std::string tre(const std::string& consonanti, const std::string& vocali) {
    std::string r = (consonanti + vocali + "XXX").substr(0, 3);
    return r;
}

std::string maiuscole(std::string_view s) {
    std::string r(s);
    for (char& c : r) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 'a' && u <= 'z') || (u >= 0xe0 && u != 0xf7 && u != 0xff)) {
            c = static_cast<char>(u - 32);
        }
    }
    return r;
}

}  // namespace

std::string Contribuente::denominazione() const {
    return maiuscole(cognome + " " + nome);
}

char carattereControllo(std::string_view quindici) {
    // Characters in odd places weigh by this table (digits as the letter of the
    // same rank), those in even places by their rank.
    constexpr std::array<int, 26> kDispari = {1,  0,  5, 7, 9, 13, 15, 17, 19, 21, 2,  4,  18,
                                              20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};
    int somma = 0;
    for (std::size_t i = 0; i < quindici.size(); ++i) {
        const char c = quindici[i];
        const int rango = c >= '0' && c <= '9' ? c - '0' : c - 'A';
        somma += i % 2 == 0 ? kDispari[static_cast<std::size_t>(rango)] : rango;
    }
    return static_cast<char>('A' + somma % 26);
}

std::string codiceFiscale(std::string_view cognome, std::string_view nome, int anno, int mese,
                          int giorno, bool donna, std::string_view luogo) {
    std::string cc, cv, nc, nv;
    lettere(cognome, cc, cv);
    lettere(nome, nc, nv);
    std::string cf = tre(cc, cv);
    // A name of four consonants or more gives its first, third and fourth.
    cf += nc.size() >= 4 ? std::string{nc[0], nc[2], nc[3]} : tre(nc, nv);
    char data[8];
    std::snprintf(data, sizeof data, "%02d%c%02d", anno % 100,
                  kMesi[static_cast<std::size_t>(mese - 1)], giorno + (donna ? 40 : 0));
    cf += data;
    cf += luogo;
    cf += carattereControllo(cf);
    return cf;
}

Contribuente nuovoContribuente(Casuale& caso) {
    Contribuente c;
    c.cognome = std::string(una(caso, kInizi)) + std::string(una(caso, kMezzi)) +
                std::string(una(caso, kFini));
    const bool donna = caso.su100(50);
    c.nome = std::string(donna ? una(caso, kNomiF) : una(caso, kNomiM));
    char luogo[8];
    // Place codes in the Z900-Z999 range: no town of ours has them.
    std::snprintf(luogo, sizeof luogo, "Z%03d", static_cast<int>(caso.tra(900, 999)));
    c.codiceFiscale = codiceFiscale(c.cognome, c.nome, static_cast<int>(caso.tra(1930, 1985)),
                                    static_cast<int>(caso.tra(1, 12)),
                                    static_cast<int>(caso.tra(1, 28)), donna, luogo);
    return c;
}

}  // namespace pliventa::genera
