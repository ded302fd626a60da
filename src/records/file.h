// Opening an input file the way every reader of Pliventa does.
#pragma once

#include <string>

#include "records/errore.h"

namespace pliventa {

/// Opens `percorso` read-only and returns its descriptor (the caller closes it).
/// A directory opens for reading on this system but cannot be read, so it is
/// refused here, before the caller does anything else. Returns an InputOutput
/// error naming the path with the system's reason.
Esito<int> apriInLettura(const std::string& percorso);

}  // namespace pliventa
