#include "records/giorno.h"

namespace pliventa {

namespace {

bool bisestile(int anno) {
    return (anno % 4 == 0 && anno % 100 != 0) || anno % 400 == 0;
}

int giorniDelMese(int anno, int mese) {
    static constexpr int kGiorni[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return mese == 2 && bisestile(anno) ? 29 : kGiorni[mese - 1];
}

}  // namespace

std::optional<int> valoreCifre(std::string_view testo) {
    if (testo.empty() || testo.size() > 9) {
        return std::nullopt;
    }
    int n = 0;
    for (char c : testo) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        n = n * 10 + (c - '0');
    }
    return n;
}

std::optional<Giorno> giornoValido(std::string_view ggmmaaaa) {
    if (ggmmaaaa.size() != 10 || ggmmaaaa[2] != '/' || ggmmaaaa[5] != '/') {
        return std::nullopt;
    }
    const std::string_view gg = ggmmaaaa.substr(0, 2);
    const std::string_view mm = ggmmaaaa.substr(3, 2);
    const std::string_view aaaa = ggmmaaaa.substr(6, 4);
    const std::optional<int> giorno = valoreCifre(gg);
    const std::optional<int> mese = valoreCifre(mm);
    const std::optional<int> anno = valoreCifre(aaaa);
    if (!giorno || !mese || !anno) {
        return std::nullopt;
    }
    const Giorno g{*anno, *mese, *giorno};
    if (g.anno < 1900 || g.mese < 1 || g.mese > 12 || g.giorno < 1 ||
        g.giorno > giorniDelMese(g.anno, g.mese)) {
        return std::nullopt;
    }
    return g;
}

}  // namespace pliventa
