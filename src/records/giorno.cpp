#include "records/giorno.h"

namespace pliventa {

namespace {

bool soloCifre(std::string_view s) {
    if (s.empty()) {
        return false;
    }
    for (char c : s) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

int cifre(std::string_view s) {
    int n = 0;
    for (char c : s) {
        n = n * 10 + (c - '0');
    }
    return n;
}

bool bisestile(int anno) {
    return (anno % 4 == 0 && anno % 100 != 0) || anno % 400 == 0;
}

int giorniDelMese(int anno, int mese) {
    static constexpr int kGiorni[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return mese == 2 && bisestile(anno) ? 29 : kGiorni[mese - 1];
}

}  // namespace

std::optional<Giorno> giornoValido(std::string_view ggmmaaaa) {
    if (ggmmaaaa.size() != 10 || ggmmaaaa[2] != '/' || ggmmaaaa[5] != '/') {
        return std::nullopt;
    }
    const std::string_view gg = ggmmaaaa.substr(0, 2);
    const std::string_view mm = ggmmaaaa.substr(3, 2);
    const std::string_view aaaa = ggmmaaaa.substr(6, 4);
    if (!soloCifre(gg) || !soloCifre(mm) || !soloCifre(aaaa)) {
        return std::nullopt;
    }
    const Giorno g{cifre(aaaa), cifre(mm), cifre(gg)};
    if (g.anno < 1900 || g.mese < 1 || g.mese > 12 || g.giorno < 1 ||
        g.giorno > giorniDelMese(g.anno, g.mese)) {
        return std::nullopt;
    }
    return g;
}

}  // namespace pliventa
