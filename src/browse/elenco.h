// The payments list: every payment of the open work file, or those a filter kept,
// as rows of texts formatted as the main window formats them. Only the rows asked
// for are read, so a list of millions of payments opens at once.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/errore.h"
#include "browse/filtro.h"
#include "browse/ordine.h"
#include "records/archivio.h"
#include "records/versamento.h"
#include "records/visualizzazione.h"
#include "records/voci.h"

namespace pliventa {

/// The columns of the list, in their order on screen.
enum class ColonnaElenco : std::size_t {
    numero,
    tipo,
    dataVersamento,
    codiceFiscale,
    anno,
    fabbricati,
    totale,
    terreni,
    areeFabbricabili,
    abitazionePrincipale,
    altriFabbricati,
    detrazione,
    numeroAtto,
    dataAtto,
};

inline constexpr std::size_t kColonneElenco = 14;

/// Position of column `c` (0-based), as the table numbers its columns.
constexpr std::size_t indice(ColonnaElenco c) {
    return static_cast<std::size_t>(c);
}

/// Column headers.
inline constexpr std::array<std::string_view, kColonneElenco> kIntestazioniElenco = {
    "N.",
    "Tipo",
    "Data versamento",
    "Codice fiscale",
    "Anno",
    "Fabbricati",
    "Totale",
    "Terreni",
    "Aree fabbricabili",
    "Abitazione principale",
    "Altri fabbricati",
    "Detrazione",
    "Numero atto",
    "Data atto",
};

/// Header tooltips. A violation payment keeps tax, penalties, pecuniary penalty and
/// interest in the fields of land, building land, main dwelling and deduction, so
/// those columns say both meanings.
inline constexpr std::array<std::string_view, kColonneElenco> kSpiegazioniElenco = {
    "Numero del versamento nel file di lavoro. Un clic sull'intestazione di una colonna "
    "ordina l'elenco per quella colonna, un secondo clic inverte l'ordine.",
    "O: versamento ordinario; V: versamento su violazione",
    "Data di versamento",
    "Codice fiscale del contribuente",
    "Anno d'imposta, le due cifre registrate",
    "Numero fabbricati",
    "Totale versamento",
    "Terreni agricoli; nei versamenti su violazione: Imposta",
    "Aree fabbricabili; nei versamenti su violazione: Sanzioni",
    "Abitazione principale; nei versamenti su violazione: Pena pec.",
    "Altri fabbricati",
    "Detrazione abitazione principale; nei versamenti su violazione: Interessi",
    "Numero del provvedimento, solo per i versamenti su violazione",
    "Data del provvedimento, solo per i versamenti su violazione",
};

/// The payment field each column shows; the number and the kind are the list's own.
inline constexpr std::array<std::optional<Voce>, kColonneElenco> kVoceElenco = {
    std::nullopt,           std::nullopt,
    Voce::dataVersamento,   Voce::codiceFiscale,
    Voce::annoImposta,      Voce::numeroFabbricati,
    Voce::totale,           Voce::terreni,
    Voce::areeFabbricabili, Voce::abitazionePrincipale,
    Voce::altriFabbricati,  Voce::detrazione,
    Voce::numeroAtto,       Voce::dataAtto,
};
static_assert(kSpiegazioniElenco[indice(ColonnaElenco::terreni)].ends_with(
    descrizione(Voce::terreni).nomeViolazione));
static_assert(kSpiegazioniElenco[indice(ColonnaElenco::areeFabbricabili)].ends_with(
    descrizione(Voce::areeFabbricabili).nomeViolazione));
static_assert(kSpiegazioniElenco[indice(ColonnaElenco::abitazionePrincipale)].ends_with(
    descrizione(Voce::abitazionePrincipale).nomeViolazione));
static_assert(kSpiegazioniElenco[indice(ColonnaElenco::detrazione)].ends_with(
    descrizione(Voce::detrazione).nomeViolazione));

/// The order a click on each column's header sorts by; nullopt for the columns
/// that do not sort.
inline constexpr std::array<std::optional<ColonnaOrdine>, kColonneElenco> kOrdineElenco = {
    ColonnaOrdine::numero,
    std::nullopt,
    ColonnaOrdine::data,
    ColonnaOrdine::codiceFiscale,
    ColonnaOrdine::anno,
    std::nullopt,
    ColonnaOrdine::totale,
    ColonnaOrdine::terreni,
    ColonnaOrdine::areeFabbricabili,
    ColonnaOrdine::abitazionePrincipale,
    ColonnaOrdine::altriFabbricati,
    ColonnaOrdine::detrazione,
    std::nullopt,
    std::nullopt,
};

/// Columns of numbers, aligned to the right.
inline constexpr std::array<bool, kColonneElenco> kADestraElenco = {
    true, false, false, false, true, true, true, true, true, true, true, true, false, false,
};

/// How the cells are formatted: what the main window uses for the record on show.
struct FormatoElenco {
    std::string valuta = "E";  ///< the currency box's text: "E" euro cents, else lire
    LetturaAtto lettura = LetturaAtto::lunga;  ///< the work file's notice arrangement
    Separatori separatori;                     ///< the user's locale
};

/// The rows of the list over a work file. Row r (0-based) is record r + 1 or,
/// filtered or sorted, the r-th record of those given. Reads are positioned reads of a block
/// of rows around the one asked for, kept until a row outside it is asked for, so a
/// screenful costs one read. Not for use from two threads at once.
class ElencoVersamenti {
public:
    /// The unfiltered list of `archivio`, which must outlive it. The record count
    /// is taken here, once. Errors: InputOutput when the count cannot be read, Uso
    /// when the file holds more than kMassimoVersamentiElenco whole records.
    static Esito<ElencoVersamenti> crea(const ArchivioLavoro& archivio, FormatoElenco formato);

    /// Number of rows: the whole records of the file, or the records the filter kept.
    std::uint64_t righe() const;

    /// Whole records of the file when the list was made.
    std::uint64_t versamenti() const { return versamenti_; }

    /// True when the file ended in a record cut short (its length is not a multiple
    /// of 202): that partial record is not a payment and is never listed.
    bool ultimoIncompleto() const { return ultimoIncompleto_; }

    /// True while a filter's result is shown.
    bool filtrato() const { return filtrato_; }

    /// True while the rows are those given to applicaRighe(): a filter's result,
    /// an order other than the file's, or both.
    bool elencate() const { return elencate_; }

    /// The record number (1-based) of row `riga`; 0 past the last row.
    std::uint64_t numeroRecord(std::uint64_t riga) const;

    /// The text of a cell, UTF-8: the record number, "O" or "V", then the payment's
    /// fields as the main window shows them (the tax year as its two stored digits
    /// for every payment; the notice number and date for violation payments only,
    /// empty for ordinary ones). Empty past the last row or column and when the
    /// record cannot be read (see erroreLettura()).
    std::string testo(std::uint64_t riga, std::size_t colonna) const;

    /// Rows `righe` as tab-separated text, one line each ending in "\n", in the
    /// order given; tabs and line ends inside a cell become blanks, and a field
    /// shown as stored is kept as text by testoNonFormula().
    std::string copiaTabulata(const std::vector<std::uint64_t>& righe) const;

    /// Formats the cells from now on with `formato` (the currency box changed).
    void impostaFormato(FormatoElenco formato);
    const FormatoElenco& formato() const { return formato_; }

    /// Shows records `numeri`, in the order given (as righeElenco() gives them);
    /// `filtrato` says whether a filter chose them or they are every record.
    void applicaRighe(std::vector<std::uint32_t> numeri, bool filtrato);

    /// Shows every record again in the file's order, as many as when the list was made.
    void togliFiltro();

    /// The failure of the last block read, nullopt when it succeeded. The rows it
    /// should have given show empty cells until the block is read again.
    const std::optional<Errore>& erroreLettura() const { return errore_; }

    /// Rows read together: a screenful and more. A filtered or sorted list reads
    /// fewer at a time, since its records may lie far apart.
    static constexpr std::size_t kRighePerBlocco = 256;
    static constexpr std::size_t kRighePerBloccoFiltrato = 64;

private:
    ElencoVersamenti(const ArchivioLavoro& archivio, FormatoElenco formato,
                     std::uint64_t versamenti, bool ultimoIncompleto);

    /// The 202 bytes of the record of `riga`, read into the block; nullopt when
    /// it cannot be read.
    std::optional<std::string_view> record(std::uint64_t riga) const;
    void caricaBlocco(std::uint64_t riga) const;
    void formatta(std::uint64_t riga) const;
    void svuota();

    static constexpr std::size_t kAssente = static_cast<std::size_t>(-1);

    const ArchivioLavoro* archivio_;
    FormatoElenco formato_;
    std::uint64_t versamenti_;
    bool ultimoIncompleto_;
    bool filtrato_ = false;
    bool elencate_ = false;  ///< the rows are numeri_, not every record in order
    std::vector<std::uint32_t> numeri_;

    // The block of rows read last: the records in `dati`, and where each row's
    // record starts in it (kAssente for a row that could not be read).
    struct Blocco {
        std::uint64_t primaRiga = 0;
        std::vector<std::size_t> inizio;
        std::string dati;
        std::string lettura;  ///< scratch for one read
    };
    mutable Blocco blocco_;
    mutable std::optional<Errore> errore_;
    // The texts of the row formatted last: the table asks for a row's cells in turn.
    mutable std::optional<std::uint64_t> rigaFormattata_;
    mutable std::array<std::string, kColonneElenco> celle_;
};

}  // namespace pliventa
