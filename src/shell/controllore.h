// What the main window does that needs no widget: the open work file and the
// current record (the Sessione), the last work file remembered in the settings,
// and the long operations run through the one runner.
#pragma once

#include <QString>
#include <QStringList>

class QPrinter;
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "base/errore.h"
#include "browse/sessione.h"
#include "checks/scansione.h"
#include "export/esportazione.h"
#include "importers/importazione.h"
#include "summary/riepilogo.h"

namespace pliventa {

class Lavoro;
class LettoreRighe;
class TabellaStampa;
enum class Tracciato;
enum class Formato;

/// Runs `lavoro` to its end with a progress dialog titled `titolo` showing the
/// text of `fasi` for the stage reported; the window takes no input meanwhile.
using Esecutore =
    std::function<void(Lavoro& lavoro, const QString& titolo, const QStringList& fasi)>;

class Controllore {
public:
    explicit Controllore(Esecutore esegui) : esegui_(std::move(esegui)) {}

    Sessione& sessione() { return sessione_; }
    const Sessione& sessione() const { return sessione_; }

    /// Opens `percorso` as the work file read with `lettura`, in place of the open
    /// one. On an error the open work file stays as it was.
    EsitoVuoto apriArchivio(const QString& percorso, LetturaAtto lettura);

    /// Remembers `percorso` (read with `lettura`) as the last work file made.
    void ricordaArchivio(const QString& percorso, LetturaAtto lettura);
    /// The path and reading of the last work file made, when it still exists.
    std::optional<std::pair<QString, LetturaAtto>> ultimoArchivio() const;

    /// The work file an import of `tracciato` writes in `cartella`.
    static QString archivioImportazione(Tracciato tracciato, const QString& cartella);
    /// Imports the file `input`, in the layout `tracciato`, into the work file
    /// `archivio`, which is replaced only when the import is complete; the progress
    /// titled `titolo`.
    Esito<Conteggi> importa(const QString& input, Tracciato tracciato, const QString& archivio,
                            const QString& titolo);
    /// The work file an import of files of `tracciati` writes in `cartella`.
    static QString archivioImportazione(std::span<const Tracciato> tracciati,
                                        const QString& cartella);
    /// Imports the files `input`, each of the layout paired with it, in order, into
    /// the one work file `archivio`, which is replaced only when every file is
    /// imported; a Risconet export is converted with the code `belfiore` as typed.
    /// Returns the counts of each file; the progress titled `titolo`.
    Esito<std::vector<Conteggi>> importaTutti(const std::vector<std::pair<QString, Formato>>& input,
                                              const QString& belfiore, const QString& archivio,
                                              const QString& titolo);
    /// Converts the Risconet export read by `input` into `output`, the CNC lines
    /// carrying the municipality's code `belfiore` as typed; the progress titled
    /// `titolo`.
    Esito<Conteggi> converti(LettoreRighe& input, const std::string& output,
                             const QString& belfiore, const QString& titolo);

    /// Exports the open work file, which must be open, to the workbook
    /// `destinazione`: its sheet named `foglio`, the amounts read as the currency
    /// box `valuta` says, the notices as the work file was written, at most
    /// righeFoglio() rows; the progress titled `titolo`.
    Esito<RiepilogoEsportazione> esporta(const QString& destinazione, const std::string& foglio,
                                         const QString& valuta, const QString& titolo);

    /// The rows of a sheet the export fills; fewer only to try the limit on small
    /// files.
    std::uint32_t righeFoglio() const { return righeFoglio_; }
    void impostaRigheFoglio(std::uint32_t righe) { righeFoglio_ = righe; }

    /// Totals what `ambito` covers of `archivio` in one pass.
    Esito<Riepilogo> riepiloga(const ArchivioLavoro& archivio, const QString& titolo,
                               const AmbitoRiepilogo& ambito = {});
    /// Checks every payment of `archivio`.
    Esito<AnomalieTrovate> controlla(const ArchivioLavoro& archivio, const QString& titolo);

    /// Prints `tabella` headed `intestazione` (of the work file `archivio`) on
    /// `stampante`, page by page; the progress titled `titolo`.
    EsitoVuoto stampa(QPrinter& stampante, const TabellaStampa& tabella,
                      const QString& intestazione, const QString& archivio, const QString& titolo);

private:
    /// Runs `compito` through the runner and gives its result.
    template <typename T>
    Esito<T> esegui(const std::function<Esito<T>(Lavoro&)>& compito, const QString& titolo,
                    const QStringList& fasi);

    Esecutore esegui_;
    Sessione sessione_;
    std::uint32_t righeFoglio_ = kRigheFoglio;
};

}  // namespace pliventa
