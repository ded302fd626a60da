// The order of the payments list: its rows sorted by one column, ties in the
// order of the file, found with passes over the work file and a sort of eight
// bytes a row, whatever the size of the file.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "base/controllo.h"
#include "base/errore.h"
#include "browse/filtro.h"
#include "records/archivio.h"

namespace pliventa {

/// The columns the list sorts by.
enum class ColonnaOrdine {
    numero,         ///< the record number: the file's order
    data,           ///< the payment date; a date that is no calendar day first
    codiceFiscale,  ///< the codice fiscale as written, byte by byte
    anno,           ///< the four-digit tax year; a field without two digits first
    totale,         ///< the amounts, by the numeric value rule
    terreni,
    areeFabbricabili,
    abitazionePrincipale,
    altriFabbricati,
    detrazione,
};

/// A column and its direction.
struct Ordine {
    ColonnaOrdine colonna = ColonnaOrdine::numero;
    bool discendente = false;
    bool operator==(const Ordine&) const = default;
};

/// The order written as the command line takes it: a column name (`n`, `data`,
/// `cf`, `anno`, `totale`, `terreni`, `aree_fabbricabili`,
/// `abitazione_principale`, `altri_fabbricati`, `detrazione`), optionally followed
/// by ":desc" (or ":asc"). nullopt for anything else.
std::optional<Ordine> ordineDaTesto(std::string_view testo);

/// The names ordineDaTesto() takes, separated by ", ", for a usage message.
std::string_view nomiOrdine();

/// Sorts `righe` — record numbers of `archivio` in ascending order, as filtra()
/// gives them — by `ordine`: ascending or descending by the column's value, and
/// payments of equal value in ascending record number in both directions. The
/// values are read in parallel passes over the file (their progress, cancel and
/// rule for a file that changes) and sorted in eight bytes a row at most: a key
/// of four bytes beside each number, the few rows whose keys cannot tell their
/// values apart read again one by one; codici fiscali a batch of codes at a
/// time (ordinaCodici()). On error (those of the passes: Annullato, InputOutput;
/// InputOutput naming ENOMEM when the memory is short) `righe` is left as it was.
EsitoVuoto ordina(const ArchivioLavoro& archivio, std::vector<std::uint32_t>& righe, Ordine ordine,
                  const Controllo& controllo = {}, std::size_t parti = 0);

/// The record numbers the list shows for `filtro` in `ordine`: those filtra()
/// keeps, or every whole record for an empty filter, then sorted by ordina(),
/// both passes under `controllo`. Errors: those of filtra() and ordina(), and
/// InputOutput when the file's length cannot be read, Uso when it holds more than
/// kMassimoVersamentiElenco records.
Esito<std::vector<std::uint32_t>> righeElenco(const ArchivioLavoro& archivio, const Filtro& filtro,
                                              Ordine ordine, const Controllo& controllo = {},
                                              std::size_t parti = 0);

}  // namespace pliventa
