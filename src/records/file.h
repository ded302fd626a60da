// Opening an input file the way every reader of Pliventa does, and the
// temporary file beside an output that is renamed over it when complete.
#pragma once

#include <string>

#include "records/errore.h"

namespace pliventa {

/// Opens `percorso` read-only and returns its descriptor (the caller closes it).
/// A directory opens for reading on this system but cannot be read, so it is
/// refused here, before the caller does anything else. Returns an InputOutput
/// error naming the path with the system's reason.
Esito<int> apriInLettura(const std::string& percorso);

/// The file a rename must replace for `percorso`: the path itself, or the file
/// a symbolic link points to (so the link stays a link).
std::string daSostituire(const std::string& percorso);

/// A new, empty file with a name of its own, open for writing.
struct FileTemporaneo {
    int fd = -1;
    std::string percorso;
};

/// Creates a temporary file in the folder of `destinazione`, so that a rename
/// puts it in place without copying. It is made with mode 0666, not by mkstemp(),
/// so that the finished file gets the permissions the user's umask gives any new
/// file. Returns an InputOutput error naming `perMessaggi` (the path the user
/// gave) when the folder refuses it.
Esito<FileTemporaneo> creaTemporaneo(const std::string& destinazione,
                                     const std::string& perMessaggi);

}  // namespace pliventa
