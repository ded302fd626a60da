#include "base/errore.h"

#include <cerrno>

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
#ifdef EDQUOT
        case EDQUOT:
            return "quota disco superata";
#endif
        case EIO:
            return "errore di input/output";
        case ENAMETOOLONG:
            return "nome del file troppo lungo";
#ifdef ELOOP
        case ELOOP:
            return "troppi collegamenti simbolici";
#endif
        case EMFILE:
        case ENFILE:
            return "troppi file aperti";
        case EFBIG:
            return "file troppo grande";
        case ENXIO:
            return "dispositivo o indirizzo inesistente";
        case EBUSY:
            return "dispositivo o risorsa occupata";
#ifdef ETXTBSY
        case ETXTBSY:
            return "file di testo occupato";
#endif
        case EINVAL:
            return "argomento non valido";
        case EXDEV:
            return "collegamento tra dispositivi diversi non valido";
        case EEXIST:
            return "il file esiste già";
        case EBADF:
            return "descrittore di file non valido";
        case EINTR:
            return "operazione interrotta";
        case EAGAIN:
            return "risorsa temporaneamente non disponibile";
        case ENOMEM:
            return "memoria insufficiente";
#ifdef EOVERFLOW
        case EOVERFLOW:
            return "file troppo grande per essere letto";
#endif
        case ENODEV:
            return "dispositivo inesistente";
        case ENOTEMPTY:
            return "la directory non è vuota";
        case EMLINK:
            return "troppi collegamenti";
#ifdef ENOTSUP
        case ENOTSUP:
            return "operazione non supportata dal file system";
#endif
#ifdef ESTALE
        // Files on a network share: the server went away or no longer knows the file.
        case ESTALE:
            return "riferimento a un file remoto non più valido";
#endif
#ifdef ETIMEDOUT
        case ETIMEDOUT:
            return "tempo di attesa della connessione scaduto";
#endif
#ifdef ENOTCONN
        case ENOTCONN:
            return "la connessione con il disco di rete non è attiva";
#endif
#ifdef EHOSTUNREACH
        case EHOSTUNREACH:
            return "il server non è raggiungibile";
#endif
#ifdef EHOSTDOWN
        case EHOSTDOWN:
            return "il server non è attivo";
#endif
#ifdef ENETDOWN
        case ENETDOWN:
            return "la rete non è attiva";
#endif
#ifdef ENETUNREACH
        case ENETUNREACH:
            return "la rete non è raggiungibile";
#endif
#ifdef ECONNREFUSED
        case ECONNREFUSED:
            return "connessione rifiutata dal server";
#endif
#ifdef ECONNRESET
        case ECONNRESET:
            return "connessione interrotta dal server";
#endif
#ifdef ECONNABORTED
        case ECONNABORTED:
            return "connessione interrotta";
#endif
        case ENOLCK:
            return "nessun blocco di file disponibile";
        case EDEADLK:
            return "il blocco del file causerebbe uno stallo";
        // Output into a pipe whose reader has gone (`dump | head`), or a seek on one.
        case EPIPE:
            return "il programma che leggeva l'output è terminato";
        case ESPIPE:
            return "il file non consente lo spostamento della posizione";
        case ENOSYS:
            return "funzione non disponibile nel sistema";
#ifdef ENOBUFS
        case ENOBUFS:
            return "memoria di sistema insufficiente";
#endif
        case ERANGE:
            return "risultato fuori dall'intervallo ammesso";
        case EILSEQ:
            return "sequenza di caratteri non valida";
#ifdef ECANCELED
        case ECANCELED:
            return "operazione annullata";
#endif
        case ENOTTY:
            return "operazione non adatta a questo file";
        case EFAULT:
            return "indirizzo di memoria non valido";
#if defined(EOPNOTSUPP) && EOPNOTSUPP != ENOTSUP
        case EOPNOTSUPP:
            return "operazione non supportata dal file system";
#endif
#if defined(EWOULDBLOCK) && EWOULDBLOCK != EAGAIN
        case EWOULDBLOCK:
            return "risorsa temporaneamente non disponibile";
#endif
#ifdef __linux__
        // Removable media, damaged file systems and remote storage.
        case ENOMEDIUM:
            return motivoDiSistema(kUnitaNonPronta);
        case EMEDIUMTYPE:
            return "tipo di supporto non adatto";
        case EUCLEAN:
            return motivoDiSistema(kFileSystemDanneggiato);
        case EREMOTEIO:
            return "errore di input/output sul disco remoto";
        case EKEYEXPIRED:
            return "credenziali di accesso al disco di rete scadute";
        case ENOKEY:
            return "credenziali di accesso al disco di rete mancanti";
        case ENODATA:
            return "dati non disponibili";
#endif
        // Windows: another program (the spreadsheet program, usually) keeps the
        // file open without letting others write it or put a new one in its place.
        case kFileAperto:
            return "il file è aperto in un altro programma";
        case kNomeNonValido:
            return "nome di file non valido";
        case kUnitaNonPronta:
            return "nessun supporto nell'unità";
        case kFileSystemDanneggiato:
            return "il file system è danneggiato e va controllato";
        default:
            // The C library's text would be English: the number is what a technician needs.
            if (numeroErrore >= kBaseWindows) {
                return "errore di sistema Windows " + std::to_string(numeroErrore - kBaseWindows);
            }
            return "errore di sistema " + std::to_string(numeroErrore);
    }
}

Errore erroreDiSistema(std::string percorso, int numeroErrore) {
    return Errore{CodiceErrore::InputOutput, std::move(percorso), motivoDiSistema(numeroErrore)};
}

}  // namespace pliventa
