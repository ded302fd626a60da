// The long work of the window: what its caller learns when the task runs out of
// memory on its thread.
#include "shell/lavoro.h"

#include <gtest/gtest.h>

#include <new>
#include <optional>

namespace pliventa {
namespace {

TEST(Lavoro, ATaskOutOfMemoryIsAnErrorTheCallerSees) {
    const struct {
        bool senzaMemoria;
        const char* motivo;  // nullptr: the task's own result
    } casi[] = {{false, nullptr}, {true, "memoria insufficiente"}};
    for (const auto& c : casi) {
        std::optional<Esito<int>> esito;
        Lavoro lavoro([&](Lavoro&) {
            if (c.senzaMemoria) {
                throw std::bad_alloc();
            }
            esito = 7;
        });
        lavoro.avvia();
        lavoro.aspetta();
        EXPECT_TRUE(lavoro.finito());
        const Esito<int> r = esitoDi(lavoro, std::move(esito));
        if (c.motivo == nullptr) {
            ASSERT_TRUE(r.ok());
            EXPECT_EQ(*r, 7);
        } else {
            ASSERT_FALSE(r.ok());
            EXPECT_EQ(r.errore().motivo, c.motivo);
        }
    }
}

}  // namespace
}  // namespace pliventa
