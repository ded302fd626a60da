// The order of the list by codice fiscale, in eight bytes a row: sixteen bytes a
// code do not fit beside a row's number, so the rows are ordered a batch of
// codes at a time, each batch read again from the file.
#pragma once

#include <cstddef>

#include "base/controllo.h"
#include "base/errore.h"
#include "browse/insieme_righe.h"
#include "browse/spazio_righe.h"
#include "records/archivio.h"

namespace pliventa {

/// Writes at the start of `spazio`, as 4-byte numbers, the rows of `righe` in
/// the order of their codice fiscale byte by byte (descending when
/// `discendente`), equal codes in ascending record number. `spazio` must hold at
/// least 8 bytes a row: the rest of it is where the codes are sorted. Reads the
/// file in passes of `parti` parts under `controllo`, told as one progress.
/// Errors: those of the passes (Annullato, InputOutput), and InputOutput when the
/// file's codes change between two passes.
EsitoVuoto ordinaCodici(const ArchivioLavoro& archivio, const InsiemeRighe& righe,
                        SpazioRighe& spazio, bool discendente, const Controllo& controllo,
                        std::size_t parti);

}  // namespace pliventa
