// Every modal interaction of the window goes through this interface, so that
// tests can script the answers and check the exact texts, titles, buttons and icons.
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

#include "importers/riconoscimento.h"

class QWidget;

class QPrinter;

namespace pliventa {

class Lavoro;

/// The application's default title of message boxes that give none of their own.
inline const QString kTitoloPredefinito = QStringLiteral("Pliventa");

enum class Icona { nessuna, informazione, esclamazione, critica, domanda };
enum class Pulsanti { ok, siNo };
enum class Risposta { ok, si, no };

/// The answer of a save-as dialog.
struct FileScelto {
    QString percorso;  ///< the chosen path; empty when cancelled
    int tipo = 0;      ///< the chosen type: its place in the dialog's list, from 0
};

/// A file of an import of several, as the dialog of their layouts shows it.
struct FileDaImportare {
    QString percorso;
    std::optional<Formato> formato;  ///< the layout found; nullopt when it cannot be told
    QString motivo;                  ///< why it cannot be told; empty otherwise
};

class Dialoghi {
public:
    virtual ~Dialoghi() = default;

    /// A message box with `testo`, `titolo`, `pulsanti` and `icona`, centred on the
    /// window; returns the button pressed (closing a Yes/No box counts as No, an OK
    /// box as OK).
    Risposta messaggio(const QString& testo, const QString& titolo, Pulsanti pulsanti,
                       Icona icona) {
        return messaggio(testo, titolo, pulsanti, icona, QRect());
    }

    /// The same box, kept off `lasciaVisibile` (screen coordinates) when that is not
    /// empty: what the user must read to answer stays in sight.
    virtual Risposta messaggio(const QString& testo, const QString& titolo, Pulsanti pulsanti,
                               Icona icona, const QRect& lasciaVisibile) = 0;

    /// A one-line input box with `prompt`, `titolo` and `predefinito` as its initial
    /// text; returns the confirmed text, or an empty text when cancelled.
    virtual QString input(const QString& prompt, const QString& titolo,
                          const QString& predefinito) = 0;

    /// A save-as dialog titled `titolo` that proposes the path `proposta` and lists
    /// the types of `filtro` ("Descrizione (*.ext)", several joined by ";;"); asks
    /// before replacing a file. Returns the chosen path and type: a name without an
    /// extension gets that of the type chosen, a name ending in the extension of a
    /// listed type is of that type. An empty path when cancelled.
    virtual FileScelto salvaCome(const QString& titolo, const QString& proposta,
                                 const QString& filtro) = 0;

    /// An open dialog titled `titolo`, showing the folder `cartella`, in which the
    /// user chooses one or more existing files. Returns their paths in the order
    /// the dialog gives them; none when cancelled.
    virtual QStringList scegliFile(const QString& titolo, const QString& cartella) = 0;

    /// A dialog titled `titolo` that lists `file`, each with its layout in a list
    /// the user may change, and the buttons "Importa" (only once every file has a
    /// layout) and "Annulla". Returns the layout of each file, in order; nullopt
    /// when cancelled.
    virtual std::optional<std::vector<Formato>> scegliTracciati(
        const QString& titolo, const std::vector<FileDaImportare>& file) = 0;

    /// Opens `percorso` in the user's default application for its kind. Returns
    /// false when no application could be started for it.
    virtual bool apriDocumento(const QString& percorso) = 0;

    /// Starts `lavoro` and returns once it has ended. Meanwhile the window keeps
    /// answering and, after half a second, a progress dialog titled `titolo` shows
    /// the text of `fasi` for the stage reported, with a button that cancels.
    virtual void attendi(Lavoro& lavoro, const QString& titolo, const QStringList& fasi) = 0;

    /// The print dialog titled `titolo` for `stampante`: the clerk picks a printer,
    /// or a PDF file, and its settings. Returns false when cancelled.
    virtual bool scegliStampante(const QString& titolo, QPrinter& stampante) = 0;

    /// The same dialogs as children of `finestra`: over it, modal to it, and
    /// answering one leaves `finestra`, not another window, in front. `finestra`
    /// must outlive the result.
    virtual std::unique_ptr<Dialoghi> figli(QWidget* finestra) = 0;

    /// A Yes/No question, kept off `lasciaVisibile` as messaggio() is; true for Yes.
    bool domanda(const QString& testo, const QString& titolo, Icona icona = Icona::nessuna,
                 const QRect& lasciaVisibile = QRect()) {
        return messaggio(testo, titolo, Pulsanti::siNo, icona, lasciaVisibile) == Risposta::si;
    }
};

}  // namespace pliventa
