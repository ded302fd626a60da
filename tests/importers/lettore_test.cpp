#include "importers/lettore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "righe.h"

namespace pliventa {
namespace {

using test::CartellaTemporanea;

struct Letta {
    std::string testo;
    std::uint64_t lunghezza;
    bool operator==(const Letta&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Letta& l) {
    return os << '"' << l.testo << "\" (" << l.lunghezza << ")";
}

std::vector<Letta> leggiTutto(const std::string& percorso, std::size_t blocco,
                              std::size_t massimo = Riga::kMaxRiga) {
    auto lettore = LettoreRighe::apri(percorso, blocco);
    EXPECT_TRUE(lettore.ok()) << lettore.errore().descrizione();
    lettore->rigaMassima(massimo);
    std::vector<Letta> righe;
    Riga r;
    for (;;) {
        auto e = lettore->prossima(r);
        EXPECT_TRUE(e.ok());
        if (!e.ok() || !*e) {
            return righe;
        }
        righe.push_back({std::string(r.testo), r.lunghezza});
    }
}

std::vector<Letta> brevi(std::initializer_list<const char*> righe) {
    std::vector<Letta> v;
    for (const char* r : righe) {
        v.push_back({r, std::string(r).size()});
    }
    return v;
}

// Every input is read with every block size from 1 byte to the whole file, so each
// line end, the CR LF pair among them, falls on a block boundary at least once.
TEST(LettoreRighe, LineEndsWhateverTheBlockBoundaries) {
    const struct {
        const char* nome;
        std::string dati;
        std::vector<Letta> attese;
    } casi[] = {
        {"empty file", "", {}},
        {"CR LF", "ab\r\ncd\r\n", brevi({"ab", "cd"})},
        {"mixed", "ab\r\ncd\nef\rgh\r\n", brevi({"ab", "cd", "ef", "gh"})},
        {"no final line end", "ab\r\ncd", brevi({"ab", "cd"})},
        {"empty lines", "\n\n\r\r\n", brevi({"", "", "", ""})},
        {"LF then CR are two ends", "ab\n\rcd", brevi({"ab", "", "cd"})},
        {"CR CR LF", "ab\r\r\ncd", brevi({"ab", "", "cd"})},
        {"bytes above 127", "\xe8\xe0\xf9\r\n", brevi({"\xe8\xe0\xf9"})},
    };
    CartellaTemporanea dir;
    for (const auto& c : casi) {
        const std::string p = dir.scrivi("in", c.dati);
        for (std::size_t blocco = 1; blocco <= c.dati.size() + 1; ++blocco) {
            EXPECT_EQ(leggiTutto(p, blocco), c.attese) << c.nome << ", block " << blocco;
        }
    }
}

TEST(LettoreRighe, LongLineKeepsItsStartUpToTheLimitAndItsTrueLength) {
    CartellaTemporanea dir;
    std::string lunga;
    for (std::size_t i = 0; i < Riga::kMaxRiga + 1000; ++i) {
        lunga += static_cast<char>('a' + i % 26);
    }
    const std::string p = dir.scrivi("in", "x\r\n" + lunga + "\r\ny");
    // A line longer than the limit, and one within a limit set higher: whole.
    for (const std::size_t massimo : {Riga::kMaxRiga, lunga.size()}) {
        const std::vector<Letta> attese = {
            {"x", 1}, {lunga.substr(0, massimo), lunga.size()}, {"y", 1}};
        for (std::size_t blocco : {std::size_t{7}, std::size_t{1000}, LettoreRighe::kBlocco}) {
            EXPECT_EQ(leggiTutto(p, blocco, massimo), attese) << "block " << blocco;
        }
    }
    // A long last line without line end, spanning blocks.
    const std::string q = dir.scrivi("in2", lunga);
    EXPECT_EQ(leggiTutto(q, 100),
              (std::vector<Letta>{{lunga.substr(0, Riga::kMaxRiga), lunga.size()}}));
}

}  // namespace
}  // namespace pliventa
