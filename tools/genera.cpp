// pliventa-genera: writes to stdout a synthetic payment file of one layout, with
// made-up taxpayers and municipality, Windows-1252 text and CR LF line ends.
//
//   pliventa-genera cnc2000|cnc1997|viol1997|f24|risconet [--righe N] [--seme S]
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "generatori.h"

namespace {

int uso() {
    std::fputs(
        "uso: pliventa-genera cnc2000|cnc1997|viol1997|f24|risconet [--righe N] [--seme S]\n",
        stderr);
    return 2;
}

bool numero(const char* s, std::uint64_t& v) {
    char* fine = nullptr;
    if (s == nullptr || *s == '\0' || *s == '-') {
        return false;
    }
    v = std::strtoull(s, &fine, 10);
    return *fine == '\0';
}

bool scrivi(const std::string& riga) {
    return std::fwrite(riga.data(), 1, riga.size(), stdout) == riga.size() &&
           std::fwrite("\r\n", 1, 2, stdout) == 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return uso();
    }
    std::uint64_t righe = 40;
    std::uint64_t seme = 1;
    // Options come in pairs: a name and its number.
    for (int i = 2; i < argc; i += 2) {
        const std::string_view a = argv[i];
        std::uint64_t* valore = a == "--righe" ? &righe : a == "--seme" ? &seme : nullptr;
        if (valore == nullptr || i + 1 >= argc || !numero(argv[i + 1], *valore)) {
            return uso();
        }
    }
    auto g = pliventa::genera::nuovoGeneratore(argv[1], seme);
    if (!g) {
        return uso();
    }
    static char buffer[1 << 20];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);

    // Header, body, trailer: exactly `righe` lines; the body comes in small
    // blocks, so memory does not grow with the file.
    bool ok = righe == 0 || scrivi(g->testa());
    std::vector<std::string> blocco;
    std::size_t pos = 0;
    for (std::uint64_t n = 2; ok && n < righe; ++n) {
        if (pos == blocco.size()) {
            blocco.clear();
            pos = 0;
            while (blocco.empty()) {
                g->blocco(blocco);
            }
        }
        ok = scrivi(blocco[pos++]);
    }
    if (ok && righe >= 2) {
        ok = scrivi(g->coda(righe));
    }
    if (std::fflush(stdout) != 0 || !ok) {
        std::perror("pliventa-genera");
        return 1;
    }
    return 0;
}
