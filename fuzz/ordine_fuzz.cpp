// The list's order of a fuzzed work file against a plain one: every row's true
// value read on its own and a stable sort. The first byte of the input chooses
// the column, the direction and how many parts read the file; the rest is the
// work file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "browse/ordine.h"
#include "records/archivio.h"
#include "records/versamento.h"
#include "supporto.h"

namespace pliventa::fuzz {
namespace {

constexpr ColonnaOrdine kColonne[] = {ColonnaOrdine::numero,        ColonnaOrdine::data,
                                      ColonnaOrdine::codiceFiscale, ColonnaOrdine::anno,
                                      ColonnaOrdine::totale,        ColonnaOrdine::detrazione};

/// The value the order compares: a number, or the code's bytes.
std::pair<double, std::string> valore(const Versamento& v, ColonnaOrdine c, std::uint32_t n) {
    switch (c) {
        case ColonnaOrdine::data: {
            const auto g = v.giornoVersamento();
            return {g ? g->anno * 10000.0 + g->mese * 100 + g->giorno : 0, ""};
        }
        case ColonnaOrdine::codiceFiscale:
            return {0, std::string(v.campo(Campo::codicefiscale))};
        case ColonnaOrdine::anno:
            return {v.annoImposta().value_or(0), ""};
        case ColonnaOrdine::totale:
            return {valoreNumerico(v.campo(Campo::totale)), ""};
        case ColonnaOrdine::detrazione:
            return {valoreNumerico(v.campo(Campo::detrazione)), ""};
        default:
            return {n, ""};
    }
}

bool minore(const std::pair<double, std::string>& x, const std::pair<double, std::string>& y) {
    if (x.first != y.first) {
        return x.first < y.first;
    }
    return std::lexicographical_compare(
        x.second.begin(), x.second.end(), y.second.begin(), y.second.end(), [](char a, char b) {
            return static_cast<unsigned char>(a) < static_cast<unsigned char>(b);
        });
}

}  // namespace
}  // namespace pliventa::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n) {
    using namespace pliventa;
    using namespace pliventa::fuzz;
    if (n == 0) {
        return 0;
    }
    const std::uint8_t scelta = dati[0];
    const std::string_view input = testo(dati + 1, n - 1);
    const Ordine ordine{kColonne[(scelta & 0x0F) % std::size(kColonne)], (scelta & 0x10) != 0};
    const std::string lavoro = inCartella("lavoro.out");
    scriviFile(lavoro, input);
    const Esito<ArchivioLavoro> archivio = ArchivioLavoro::apriarchivio(lavoro);
    VERIFICA(archivio.ok());

    // Every other row when asked, as a filtered list gives them.
    std::vector<std::uint32_t> righe;
    const std::size_t interi = input.size() / Versamento::kLunghezzaRecord;
    for (std::uint32_t r = 1; r <= interi; r += (scelta & 0x20) != 0 ? 2 : 1) {
        righe.push_back(r);
    }
    std::vector<std::pair<std::pair<double, std::string>, std::uint32_t>> attesi;
    for (const std::uint32_t r : righe) {
        const Versamento v =
            Versamento::daByte(input.substr((r - 1) * Versamento::kLunghezzaRecord));
        attesi.emplace_back(valore(v, ordine.colonna, r), r);
    }
    std::stable_sort(attesi.begin(), attesi.end(), [&](const auto& x, const auto& y) {
        return ordine.discendente ? minore(y.first, x.first) : minore(x.first, y.first);
    });

    const EsitoVuoto esito = ordina(*archivio, righe, ordine, {}, (scelta & 0x40) != 0 ? 3 : 1);
    VERIFICA(esito.ok());
    VERIFICA(righe.size() == attesi.size());
    for (std::size_t i = 0; i < righe.size(); ++i) {
        VERIFICA(righe[i] == attesi[i].second);
    }
    return 0;
}
