#include "cli/argomenti.h"
#include "cli/comandi.h"

namespace pliventa::cli {

int comandoSummary(std::span<const std::string_view>) {
    return kErroreUso;
}

}  // namespace pliventa::cli
