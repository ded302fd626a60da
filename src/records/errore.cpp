#include "records/errore.h"

#include <cerrno>
#include <cstring>

namespace pliventa {

std::string Errore::descrizione() const {
    if (percorso.empty()) {
        return motivo;
    }
    return percorso + ": " + motivo;
}

std::string motivoDiSistema(int numeroErrore) {
    // The C library speaks English here; the clerk reads Italian.
    switch (numeroErrore) {
        case ENOENT:
            return "file o directory inesistente";
        case EACCES:
            return "permesso negato";
        case EPERM:
            return "operazione non permessa";
        case EISDIR:
            return "è una directory";
        case ENOTDIR:
            return "un elemento del percorso non è una directory";
        case ENOSPC:
            return "spazio esaurito sul dispositivo";
        case EROFS:
            return "file system in sola lettura";
        case EDQUOT:
            return "quota disco superata";
        case EIO:
            return "errore di input/output";
        case ENAMETOOLONG:
            return "nome del file troppo lungo";
        case ELOOP:
            return "troppi collegamenti simbolici";
        case EMFILE:
        case ENFILE:
            return "troppi file aperti";
        case EFBIG:
            return "file troppo grande";
        case ENXIO:
            return "dispositivo o indirizzo inesistente";
        case EBUSY:
            return "dispositivo o risorsa occupata";
        case ETXTBSY:
            return "file di testo occupato";
        case EINVAL:
            return "argomento non valido";
        case EXDEV:
            return "collegamento tra dispositivi diversi non valido";
        default:
            return std::string("errore di sistema ") + std::to_string(numeroErrore) + " (" +
                   std::strerror(numeroErrore) + ")";
    }
}

Errore erroreDiSistema(std::string percorso, int numeroErrore) {
    return Errore{CodiceErrore::InputOutput, std::move(percorso), motivoDiSistema(numeroErrore)};
}

}  // namespace pliventa
