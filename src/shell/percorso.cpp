#include "shell/percorso.h"

namespace pliventa {

// Being written: see percorso.h.

}  // namespace pliventa
