// The summary of a work file: the payments totalled by tax year and kind, by
// payment month and by municipality, all three worked out in one streaming pass,
// so the window can switch between them without reading the file again.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/errore.h"
#include "records/archivio.h"
#include "records/scansione.h"
#include "records/somma.h"
#include "records/versamento.h"

namespace pliventa {

/// How the payments are grouped.
enum class Raggruppamento {
    anno,    ///< four-digit tax year, then kind: ordinary (O) before violation (V)
    mese,    ///< payment month, "yyyy-mm" from fields 2 and 3 as stored
    comune,  ///< the municipality's Belfiore code, columns 4-7
};

inline constexpr std::array<Raggruppamento, 3> kRaggruppamenti = {
    Raggruppamento::anno, Raggruppamento::mese, Raggruppamento::comune};

/// The amount fields a group sums, in the order the main window shows them (the
/// deduction, field 13, before the other buildings, field 12). A violation payment
/// keeps tax, penalties, pecuniary penalty and interest in the fields of land,
/// building land, main dwelling and deduction: amounts of another meaning, summed
/// apart from the ordinary payments' ones.
inline constexpr std::array<Campo, 6> kCampiRiepilogo = {
    Campo::totale,     Campo::terreni,         Campo::areefabbricabili, Campo::abitazioneprincipale,
    Campo::detrazione, Campo::altrifabbricati,
};

/// The totals of one group.
struct GruppoRiepilogo {
    /// The group as stored in the records (Windows-1252 bytes): "2003", "2003-07",
    /// "H501". Empty in the grand total.
    std::string chiave;
    /// 'O' or 'V' when grouped by tax year; '\0' otherwise and in the grand total.
    char tipo = '\0';
    std::uint64_t versamenti = 0;  ///< payments in the group, of both kinds
    std::uint64_t violazioni = 0;  ///< of them, the payments on a violation notice
    /// payments breaking at least one check, duplicato included (not rule breaks)
    std::uint64_t anomalie = 0;
    /// Exact sums of the kCampiRiepilogo fields over the ordinary payments, in the
    /// unit stored (cents or lire).
    std::array<SommaEsatta, 6> ordinari;
    /// The same over the violation payments.
    std::array<SommaEsatta, 6> violazione;
    /// The numbers of its payments in file order, kept for one taxpayer's
    /// statement (AmbitoRiepilogo::codiceFiscale); empty otherwise.
    std::vector<std::uint64_t> record;

    bool operator==(const GruppoRiepilogo&) const = default;
};

/// The three groupings of one work file and their grand total.
struct Riepilogo {
    std::array<std::vector<GruppoRiepilogo>, 3> gruppi;  ///< by Raggruppamento, ascending
    GruppoRiepilogo totale;  ///< every payment counted: the grand total of each grouping
    /// The work file ends in a partial record (its length is not a multiple of 202
    /// bytes), which was left out.
    bool parziale = false;
    std::string archivio;  ///< the work file's path, so that no save replaces it

    /// The groups of `r` in ascending order of key, then kind.
    const std::vector<GruppoRiepilogo>& per(Raggruppamento r) const {
        return gruppi[static_cast<std::size_t>(r)];
    }
};

/// What a summary covers.
struct AmbitoRiepilogo {
    /// That grouping alone, besides the tax year (whose groups give the grand
    /// total); the other groupings are left empty. Every grouping when absent.
    std::optional<Raggruppamento> solo;
    /// One taxpayer's statement: only the payments whose codice fiscale field is
    /// this text (Windows-1252 bytes; blanks at the end of either are ignored), and
    /// each group keeps the numbers of its payments.
    std::optional<std::string> codiceFiscale;
};

/// Reads every whole record of `archivio` once, on the parallel pass over a work
/// file in `parti` runs (0: one per processor), and totals those in `ambito` in
/// their group of each grouping it asks for; the parts' totals added up are those
/// of one pass. Returns the summary, or the pass's error: InputOutput naming the
/// work file when it cannot be read or changes length meanwhile or when the table
/// of the duplicates does not fit in memory, Annullato when `controllo` asked to
/// stop.
Esito<Riepilogo> riepiloga(const ArchivioLavoro& archivio, const Controllo& controllo = {},
                           std::size_t parti = 0, const AmbitoRiepilogo& ambito = {});

/// The group of the one payment `v`, as a summary of it alone would total it: one
/// payment (of violation or not), its amounts by the numeric value rule, and one
/// anomaly when it breaks a check. The rows of a taxpayer's statement. Cannot fail.
GruppoRiepilogo gruppoDi(const Versamento& v);

/// How many amount columns the summary has.
inline constexpr std::size_t kColonneImporto = 11;

/// The amounts of `g` in the order of the summary's amount columns: the total paid,
/// of both kinds (it means the same for both), then the other five fields summed
/// over the ordinary payments, then the same five over the violation payments.
std::array<SommaEsatta, kColonneImporto> importiRiepilogo(const GruppoRiepilogo& g);

/// The Italian column headers of the summary by `r`: "Anno", "Tipo" (by tax year),
/// "Mese" or "Comune"; "Versamenti", "Versamenti su violazione"; the amounts of
/// importiRiepilogo(): "Totale", "Terreni", "Aree fabbricabili", "Abitazione
/// principale", "Detrazione", "Altri fabbricati", "Imposta", "Sanzioni", "Pena
/// pec.", "Interessi", "Altri fabbricati su violazione"; then "Anomalie".
std::vector<std::string_view> intestazioniRiepilogo(Raggruppamento r);

/// The label of the grand-total row, in the first column.
inline constexpr std::string_view kTotaleGenerale = "Totale generale";

/// The name of `r` on the command line and in file names: "anno", "mese", "comune".
std::string_view nomeRaggruppamento(Raggruppamento r);

}  // namespace pliventa
