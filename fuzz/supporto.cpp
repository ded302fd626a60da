#include "supporto.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace pliventa::fuzz {

namespace {

std::string cartellaFuzz;

void rimuoviCartella() {
    if (!cartellaFuzz.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(cartellaFuzz, ec);
    }
}

const std::string& cartella() {
    if (cartellaFuzz.empty()) {
        // A folder of its own: create_directory makes it only when the name is new.
        std::random_device caso;
        std::error_code ec;
        const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
        for (int tentativo = 0; tentativo < 100 && cartellaFuzz.empty(); ++tentativo) {
            const std::filesystem::path p = base / ("pliventa-fuzz-" + std::to_string(caso()));
            if (std::filesystem::create_directory(p, ec)) {
                cartellaFuzz = p.string();
            }
        }
        if (cartellaFuzz.empty()) {
            std::fprintf(stderr, "nessuna cartella temporanea: %s\n", ec.message().c_str());
            std::abort();
        }
        std::atexit(rimuoviCartella);
    }
    return cartellaFuzz;
}

/// The reader of one JSON text; every function leaves `i` after what it read.
class LettoreJson {
public:
    explicit LettoreJson(std::string_view s) : s_(s) {}

    bool documento(ValoreJson& v) {
        spazi();
        if (!valore(v, 0)) {
            return false;
        }
        spazi();
        return i_ == s_.size();
    }

private:
    static constexpr int kProfonditaMassima = 64;

    bool fine() const { return i_ >= s_.size(); }
    char c() const { return s_[i_]; }

    void spazi() {
        while (!fine() && (c() == ' ' || c() == '\t' || c() == '\n' || c() == '\r')) {
            ++i_;
        }
    }

    bool parola(std::string_view p) {
        if (s_.substr(i_, p.size()) != p) {
            return false;
        }
        i_ += p.size();
        return true;
    }

    bool valore(ValoreJson& v, int profondita) {
        if (fine() || profondita > kProfonditaMassima) {
            return false;
        }
        switch (c()) {
            case 'n':
                v.tipo = ValoreJson::Tipo::nullo;
                return parola("null");
            case 't':
                v.tipo = ValoreJson::Tipo::booleano;
                v.testo = "true";
                return parola("true");
            case 'f':
                v.tipo = ValoreJson::Tipo::booleano;
                v.testo = "false";
                return parola("false");
            case '"':
                v.tipo = ValoreJson::Tipo::stringa;
                return stringa(v.testo);
            case '[':
                v.tipo = ValoreJson::Tipo::array;
                return array(v, profondita);
            case '{':
                v.tipo = ValoreJson::Tipo::oggetto;
                return oggetto(v, profondita);
            default:
                v.tipo = ValoreJson::Tipo::numero;
                return numero(v.testo);
        }
    }

    bool cifre() {
        const std::size_t inizio = i_;
        while (!fine() && c() >= '0' && c() <= '9') {
            ++i_;
        }
        return i_ > inizio;
    }

    bool numero(std::string& out) {
        const std::size_t inizio = i_;
        if (!fine() && c() == '-') {
            ++i_;
        }
        if (!fine() && c() == '0') {
            ++i_;
        } else if (!cifre()) {
            return false;
        }
        if (!fine() && c() == '.') {
            ++i_;
            if (!cifre()) {
                return false;
            }
        }
        if (!fine() && (c() == 'e' || c() == 'E')) {
            ++i_;
            if (!fine() && (c() == '+' || c() == '-')) {
                ++i_;
            }
            if (!cifre()) {
                return false;
            }
        }
        out.assign(s_.substr(inizio, i_ - inizio));
        return true;
    }

    bool esadecimale(unsigned& codice) {
        if (s_.size() - i_ < 4) {
            return false;
        }
        codice = 0;
        for (int k = 0; k < 4; ++k, ++i_) {
            const char h = c();
            codice <<= 4;
            if (h >= '0' && h <= '9') {
                codice |= static_cast<unsigned>(h - '0');
            } else if (h >= 'a' && h <= 'f') {
                codice |= static_cast<unsigned>(h - 'a' + 10);
            } else if (h >= 'A' && h <= 'F') {
                codice |= static_cast<unsigned>(h - 'A' + 10);
            } else {
                return false;
            }
        }
        return true;
    }

    static void utf8(std::string& out, unsigned c) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }

    bool stringa(std::string& out) {
        ++i_;  // the opening quote
        const std::size_t inizio = i_;
        out.clear();
        while (!fine() && c() != '"') {
            const auto b = static_cast<unsigned char>(c());
            if (b < 0x20) {
                return false;  // a control character must be escaped
            }
            if (b != '\\') {
                out += c();
                ++i_;
                continue;
            }
            ++i_;
            if (fine()) {
                return false;
            }
            const char e = c();
            ++i_;
            switch (e) {
                case '"':
                case '\\':
                case '/':
                    out += e;
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u': {
                    unsigned codice = 0;
                    if (!esadecimale(codice)) {
                        return false;
                    }
                    if (codice >= 0xDC00 && codice <= 0xDFFF) {
                        return false;  // a low surrogate alone
                    }
                    if (codice >= 0xD800 && codice <= 0xDBFF) {
                        unsigned basso = 0;
                        if (!parola("\\u") || !esadecimale(basso) || basso < 0xDC00 ||
                            basso > 0xDFFF) {
                            return false;
                        }
                        codice = 0x10000 + ((codice - 0xD800) << 10) + (basso - 0xDC00);
                    }
                    utf8(out, codice);
                    break;
                }
                default:
                    return false;
            }
        }
        if (fine() || !utf8BenFormato(s_.substr(inizio, i_ - inizio))) {
            return false;
        }
        ++i_;  // the closing quote
        return true;
    }

    bool array(ValoreJson& v, int profondita) {
        ++i_;
        spazi();
        if (!fine() && c() == ']') {
            ++i_;
            return true;
        }
        for (;;) {
            spazi();
            ValoreJson& e = v.elementi.emplace_back();
            if (!valore(e, profondita + 1)) {
                return false;
            }
            spazi();
            if (fine()) {
                return false;
            }
            if (c() == ']') {
                ++i_;
                return true;
            }
            if (c() != ',') {
                return false;
            }
            ++i_;
        }
    }

    bool oggetto(ValoreJson& v, int profondita) {
        ++i_;
        spazi();
        if (!fine() && c() == '}') {
            ++i_;
            return true;
        }
        for (;;) {
            spazi();
            std::string chiave;
            if (fine() || c() != '"' || !stringa(chiave)) {
                return false;
            }
            for (const auto& m : v.membri) {
                if (m.chiave == chiave) {
                    return false;
                }
            }
            spazi();
            if (fine() || c() != ':') {
                return false;
            }
            ++i_;
            spazi();
            MembroJson& membro = v.membri.emplace_back();
            membro.chiave = std::move(chiave);
            if (!valore(membro.valore, profondita + 1)) {
                return false;
            }
            spazi();
            if (fine()) {
                return false;
            }
            if (c() == '}') {
                ++i_;
                return true;
            }
            if (c() != ',') {
                return false;
            }
            ++i_;
        }
    }

    std::string_view s_;
    std::size_t i_ = 0;
};

}  // namespace

void fallisci(const char* condizione, const char* file, int riga) {
    std::fprintf(stderr, "%s:%d: invariante violato: %s\n", file, riga, condizione);
    rimuoviCartella();  // abort() skips the exit handlers
    std::abort();
}

std::string inCartella(std::string_view nome) {
    return cartella() + "/" + std::string(nome);
}

std::vector<std::string> contenutoCartella() {
    std::vector<std::string> nomi;
    for (const auto& voce : std::filesystem::directory_iterator(cartella())) {
        nomi.push_back(voce.path().filename().string());
    }
    std::sort(nomi.begin(), nomi.end());
    return nomi;
}

void scriviFile(const std::string& percorso, std::string_view contenuto) {
    std::ofstream f(percorso, std::ios::binary | std::ios::trunc);
    f.write(contenuto.data(), static_cast<std::streamsize>(contenuto.size()));
    f.close();
    VERIFICA(!f.fail());
}

std::string leggiFile(const std::string& percorso) {
    std::ifstream f(percorso, std::ios::binary);
    VERIFICA(f.is_open());
    std::string out{std::istreambuf_iterator<char>(f), {}};
    VERIFICA(!f.bad());
    return out;
}

std::vector<std::string_view> righe(std::string_view s) {
    std::vector<std::string_view> out;
    std::size_t inizio = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' || s[i] == '\n') {
            out.push_back(s.substr(inizio, i - inizio));
            if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') {
                ++i;
            }
            inizio = i + 1;
        }
    }
    if (inizio < s.size()) {
        out.push_back(s.substr(inizio));
    }
    return out;
}

std::size_t verificaRecord(std::string_view s) {
    VERIFICA(s.size() % 202 == 0);
    for (std::size_t r = 0; r < s.size(); r += 202) {
        const std::string_view dati = s.substr(r, 200);
        VERIFICA(dati.find_first_of("\r\n") == std::string_view::npos);
        VERIFICA(s.substr(r + 200, 2) == "\r\n");
    }
    return s.size() / 202;
}

bool utf8BenFormato(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto b0 = static_cast<unsigned char>(s[i]);
        std::size_t seguito = 0;
        char32_t c = 0;
        char32_t minimo = 0;
        if (b0 < 0x80) {
            ++i;
            continue;
        }
        if (b0 >= 0xC2 && b0 <= 0xDF) {
            seguito = 1;
            c = b0 & 0x1Fu;
            minimo = 0x80;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            seguito = 2;
            c = b0 & 0x0Fu;
            minimo = 0x800;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            seguito = 3;
            c = b0 & 0x07u;
            minimo = 0x10000;
        } else {
            return false;  // a continuation byte, C0, C1 or F5 and above
        }
        if (s.size() - i <= seguito) {
            return false;
        }
        for (std::size_t k = 1; k <= seguito; ++k) {
            const auto b = static_cast<unsigned char>(s[i + k]);
            if ((b & 0xC0u) != 0x80u) {
                return false;
            }
            c = (c << 6) | (b & 0x3Fu);
        }
        if (c < minimo || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            return false;
        }
        i += seguito + 1;
    }
    return true;
}

const ValoreJson& ValoreJson::operator[](std::string_view chiave) const {
    for (const auto& m : membri) {
        if (m.chiave == chiave) {
            return m.valore;
        }
    }
    fallisci("chiave JSON presente", __FILE__, __LINE__);
}

bool leggiJson(std::string_view s, ValoreJson& valore) {
    valore = ValoreJson{};
    return LettoreJson(s).documento(valore);
}

}  // namespace pliventa::fuzz
