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

TEST(Filtri, RecordTypeDecidesWhichLinesAreTaken) {
    const std::string base = RigaVersamento().data("20050616").cf("RSSMRA80A01Z999X").str();
    const struct {
        const char* nome;
        std::string riga;
        bool cnc2000;
        bool viol1997;
    } casi[] = {
        {"ordinary", conTipo(base, '3'), true, false},
        {"violation", conTipo(base, '6'), true, true},
        {"other type", conTipo(base, '4'), false, false},
        {"short line", base.substr(0, 25), false, false},
        {"26 characters", conTipo(base, '6').substr(0, 26), true, true},
        {"type digit elsewhere", std::string(25, '3') + "x3", false, false},
    };
    for (const auto& c : casi) {
        const auto a = applica(Tracciato::cnc2000, {c.riga});
        EXPECT_EQ(a.prese, c.cnc2000 ? 1 : 0) << c.nome;
        EXPECT_EQ(a.righe,
                  c.cnc2000 ? std::vector<std::string>{c.riga} : std::vector<std::string>{})
            << c.nome;
        const auto v = applica(Tracciato::viol1997, {c.riga});
        EXPECT_EQ(v.prese, c.viol1997 ? 1 : 0) << c.nome;
        EXPECT_EQ(v.righe,
                  c.viol1997 ? std::vector<std::string>{c.riga} : std::vector<std::string>{})
            << c.nome;
    }
}

TEST(Filtri, CopiedLinesKeepOrderAndEveryByte) {
    const std::string a = RigaVersamento().tipo('3').cf("A\xe8").colonne(190, "x  ").str();
    const std::string b = RigaVersamento().tipo('6').cf("B").colonne(123, "\xc8\x80\xff").str();
    const std::string c = RigaVersamento().tipo('3').cf("C").str();
    const std::string testa = RigaVersamento().tipo('0').str();
    const auto r = applica(Tracciato::cnc2000, {testa, a, b, c, testa});
    EXPECT_EQ(r.righe, (std::vector<std::string>{a, b, c}));
    EXPECT_EQ(applica(Tracciato::viol1997, {a, b, c}).righe, std::vector<std::string>{b});
}

/// A 1997-layout line of `n` characters whose every column holds a character
/// that tells it apart from its neighbours, type "3" and year `anno`.
std::string riga1997(std::size_t n, std::string_view anno) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) {
        s += static_cast<char>('A' + (i * 7) % 58);
    }
    if (n >= 26) {
        s[25] = '3';
        s.replace(26, std::min<std::size_t>(2, n - 26), anno.substr(0, n - 26));
    }
    return s;
}

TEST(Cnc1997, CenturyFromTheTwoDigitYear) {
    const struct {
        const char* anno;
        const char* secolo;
    } casi[] = {
        {"97", "19"}, {"92", "20"},  // the highest two digits read in the 2000s
        {"01", "20"}, {"  ", "20"}, {"9x", "20"},
    };
    for (const auto& c : casi) {
        const auto r = applica(Tracciato::cnc1997, {riga1997(196, c.anno)});
        ASSERT_EQ(r.righe.size(), 1u) << c.anno;
        EXPECT_EQ(r.righe[0].substr(26, 4), std::string(c.secolo) + c.anno) << c.anno;
    }
}

TEST(Cnc1997, LinesAreWidenedRepeatingColumns155And156) {
    for (std::size_t n : {196u, 200u, 230u}) {
        const std::string in = riga1997(n, "97");
        const auto r = applica(Tracciato::cnc1997, {in});
        ASSERT_EQ(r.righe.size(), 1u);
        // Handed over whole: the writer cuts what passes column 200, and counts it.
        const std::string& out = r.righe[0];
        ASSERT_EQ(out.size(), n + 4) << n;
        EXPECT_EQ(out.substr(0, 26), in.substr(0, 26)) << n;
        EXPECT_EQ(out.substr(26, 2), "19") << n;
        EXPECT_EQ(out.substr(28, 130), in.substr(26, 130)) << n;  // cols 29-158
        EXPECT_EQ(out.substr(156, 2), in.substr(154, 2)) << n;    // cols 157-158
        EXPECT_EQ(out.substr(158, 2), in.substr(154, 2)) << n;    // cols 159-160
        EXPECT_EQ(out.substr(160, 40), in.substr(156, 40)) << n;  // cols 161-200
    }
}

}  // namespace
}  // namespace pliventa
