// Replaces a file through Sostituzione in one call, for the tests of the files.
#pragma once

#include <string>

#include "base/file.h"

namespace pliventa::test {

/// Writes `testo` in place of `percorso`, as every writer does.
inline EsitoVuoto sostituisci(const std::string& percorso, const std::string& testo) {
    Esito<Sostituzione> s = Sostituzione::prepara(percorso);
    if (!s) {
        return s.errore();
    }
    if (!scriviDescrittore(s->fd(), testo.data(), testo.size())) {
        return erroreDiSistema(percorso, errno);
    }
    return s->completa();
}

}  // namespace pliventa::test
