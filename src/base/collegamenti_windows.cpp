// On Windows an output is replaced at the path the user gave: a folder everyone
// may write in does not keep each name to its owner, and a link or junction on
// the way is followed by the system itself when the new file takes the name.
#include "base/collegamenti.h"

namespace pliventa {

Esito<Bersaglio> daSostituire(const std::string& percorso) {
    return Bersaglio{percorso};
}

}  // namespace pliventa
