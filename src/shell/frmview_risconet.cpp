// The conversion of a Risconet export into 200-character CNC lines.
#include "shell/frmview.h"

namespace pliventa {

void frmView::cmdUniriscossioni_Click() {}

}  // namespace pliventa
