#include "base/errore.h"

#include <cerrno>

#include <gtest/gtest.h>

namespace pliventa {
namespace {

// The errors the program raises by itself, and a number it has no text for: the
// clerk never reads the C library's English.
TEST(MotivoDiSistema, SpeaksItalian) {
    const struct {
        int numero;
        const char* motivo;
    } casi[] = {
        {EEXIST, "il file esiste già"},
        {EBADF, "descrittore di file non valido"},
        {ESTALE, "riferimento a un file remoto non più valido"},
        {4242, "errore di sistema 4242"},
    };
    for (const auto& c : casi) {
        EXPECT_EQ(motivoDiSistema(c.numero), c.motivo) << c.numero;
    }
}

}  // namespace
}  // namespace pliventa
