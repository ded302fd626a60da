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

// Every error a file, a folder, a pipe, a network share or the memory can give
// has a text of its own, not just its number.
TEST(MotivoDiSistema, KnowsEveryErrorOfFilesAndTheirSurroundings) {
    for (int e : {EACCES,       EPERM,        ENOENT,     ENOTDIR,      EISDIR,    ENOSPC,
                  EDQUOT,       EROFS,        EFBIG,      EIO,          EMFILE,    ENFILE,
                  ENAMETOOLONG, ELOOP,        EXDEV,      ETXTBSY,      EPIPE,     EINTR,
                  ENOMEM,       EOPNOTSUPP,   ENOTSUP,    EBADF,        EEXIST,    EINVAL,
                  EBUSY,        EAGAIN,       EOVERFLOW,  ENXIO,        ENODEV,    ENOTEMPTY,
                  EMLINK,       ESPIPE,       ENOSYS,     ENOLCK,       EDEADLK,   ENOBUFS,
                  ESTALE,       ETIMEDOUT,    ENOTCONN,   EHOSTUNREACH, EHOSTDOWN, ENETDOWN,
                  ENETUNREACH,  ECONNREFUSED, ECONNRESET, ECONNABORTED, ENOMEDIUM, EUCLEAN,
                  EREMOTEIO}) {
        EXPECT_FALSE(motivoDiSistema(e).starts_with("errore di sistema")) << e;
    }
}

}  // namespace
}  // namespace pliventa
