#include "shell/selezione_righe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace pliventa {
namespace {

using Tratti = std::vector<TrattoRighe>;

TEST(SelezioneRighe, ClicksShiftAndCtrlClicksAsEveryListTakesThem) {
    const struct {
        const char* nome;
        std::function<void(SelezioneRighe&)> azioni;
        Tratti attesi;
    } casi[] = {
        {"clic", [](SelezioneRighe& s) { s.scegli(5); }, {{5, 5}}},
        {"shift senza ancora", [](SelezioneRighe& s) { s.estendi(7); }, {{7, 7}}},
        {"shift verso l'alto e poi giù: conta l'ultimo",
         [](SelezioneRighe& s) {
             s.scegli(5);
             s.estendi(2);
             s.estendi(8);
         },
         {{5, 8}}},
        {"ctrl aggiunge, shift estende dall'ultima scelta",
         [](SelezioneRighe& s) {
             s.scegli(1);
             s.alterna(10);
             s.estendi(12);
         },
         {{1, 1}, {10, 12}}},
        {"ctrl toglie dal mezzo",
         [](SelezioneRighe& s) {
             s.scegli(3);
             s.estendi(6);
             s.alterna(4);
         },
         {{3, 3}, {5, 6}}},
        {"ctrl toglie il bordo",
         [](SelezioneRighe& s) {
             s.scegli(3);
             s.estendi(4);
             s.alterna(4);
         },
         {{3, 3}}},
        {"tratti che si toccano sono uno",
         [](SelezioneRighe& s) {
             s.scegli(2);
             s.alterna(3);
         },
         {{2, 3}}},
        {"tutte", [](SelezioneRighe& s) { s.tutte(10'000'000); }, {{0, 9'999'999}}},
        {"tutte di nessuna", [](SelezioneRighe& s) { s.tutte(0); }, {}},
    };
    for (const auto& c : casi) {
        SelezioneRighe s;
        c.azioni(s);
        EXPECT_EQ(s.tratti(), c.attesi) << c.nome;
        for (const TrattoRighe& t : c.attesi) {
            EXPECT_TRUE(s.contiene(t.first)) << c.nome;
            EXPECT_TRUE(s.contiene(t.second)) << c.nome;
        }
    }
    SelezioneRighe s;
    s.scegli(3);
    s.estendi(6);
    s.alterna(4);
    EXPECT_FALSE(s.contiene(4));
    EXPECT_FALSE(s.contiene(7));
}

}  // namespace
}  // namespace pliventa
