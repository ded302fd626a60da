// The symbolic links on the way to an output file, followed one at a time so that
// the rule the system applies when it opens a path holds for each of them, and
// the descriptors of the shell (/dev/stdout) told apart from file names.
#pragma once

#include <string>

#include "base/errore.h"

namespace pliventa {

/// Where an output leads once its symbolic links are followed.
struct Bersaglio {
    std::string vero;     ///< the file to replace or write in place
    bool flusso = false;  ///< a descriptor that is a pipe, terminal or device
};

/// The file to replace for `percorso`: itself when no link is on its way, or the
/// file its symbolic links lead to. In a folder that everyone may write in and
/// that keeps each name to its owner (mode 1777), a link is followed only when it
/// belongs to this user or to the folder's owner; another is refused, naming it.
/// An open descriptor of this process (/dev/stdout, /dev/fd/N) is a stream
/// (Bersaglio::flusso) when it is no regular file; when it is one, the shell
/// opened it, perhaps to append to it, and it is refused (Uso). A link that loops
/// or leads nowhere is an InputOutput error naming `percorso`.
Esito<Bersaglio> daSostituire(const std::string& percorso);

}  // namespace pliventa
