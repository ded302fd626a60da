// The layouts that copy or widen payment lines: ANCI-CNC 2000, 1997 violations
// and CNC 1997.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "raccolta.h"
#include "righe.h"

namespace pliventa {
namespace {

using test::applica;
using test::RigaVersamento;

std::string conTipo(std::string riga, char tipo) {
    riga[25] = tipo;
    return riga;
}

// The lines taken are handed over whole, every byte kept, in the order read: of
// ANCI-CNC 2000 the payments of both kinds (type 3 or 6 in column 26), of the 1997
// violations those of type 6; not the header, the trailer, other types, short lines.
TEST(Filtri, RecordTypeDecidesWhichLinesAreTaken) {
    const std::string base =
        RigaVersamento().data("20050616").cf("A\xe8").colonne(123, "\xc8\x80\xff").str();
    const std::vector<std::string> righe = {
        conTipo(base, '0'),          conTipo(base, '3'),         conTipo(base, '6'),
        conTipo(base, '4'),          base.substr(0, 25),         conTipo(base, '6').substr(0, 26),
        std::string(25, '3') + "x3", conTipo(base, '3') + "x  ", conTipo(base, '9')};
    const auto a = applica(Tracciato::cnc2000, righe);
    EXPECT_EQ(a.righe, (std::vector<std::string>{righe[1], righe[2], righe[5], righe[7]}));
    EXPECT_EQ(a.prese, 4);
    const auto v = applica(Tracciato::viol1997, righe);
    EXPECT_EQ(v.righe, (std::vector<std::string>{righe[2], righe[5]}));
    EXPECT_EQ(v.prese, 2);
}

/// A 1997-layout line of `n` characters whose every column holds a character
/// that tells it apart from its neighbours, type "3" and year `anno`.
std::string riga1997(std::size_t n, std::string_view anno) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) {
        s += static_cast<char>('A' + (i * 7) % 58);
    }
    s[25] = '3';
    s.replace(26, 2, anno);
    return s;
}

// The century goes before the two-digit year, and columns 155-156 are written
// twice. Handed over whole: the writer cuts what passes column 200, and counts it.
TEST(Cnc1997, CenturyFromTheTwoDigitYearAndColumns155And156Repeated) {
    const struct {
        std::size_t n;
        const char* anno;
        const char* secolo;
    } casi[] = {
        {196, "97", "19"}, {196, "92", "20"},  // the highest two digits read in the 2000s
        {200, "01", "20"}, {230, "  ", "20"}, {196, "9x", "20"},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.anno);
        const std::string in = riga1997(c.n, c.anno);
        const auto r = applica(Tracciato::cnc1997, {in});
        ASSERT_EQ(r.righe.size(), 1u);
        EXPECT_EQ(r.righe[0], in.substr(0, 26) + c.secolo + in.substr(26, 130) + in.substr(154, 2) +
                                  in.substr(156));
    }
}

}  // namespace
}  // namespace pliventa
