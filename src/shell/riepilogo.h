// The "Riepilogo" window: the payments of the open work file totalled by tax
// year and kind, by payment month or by municipality, with a grand total; saved
// as a workbook or CSV, or copied.
#pragma once

#include <QWidget>
#include <optional>

#include "shell/viste.h"
#include "summary/riepilogo.h"

class QComboBox;
class QLabel;
class QTableWidget;

namespace pliventa {

class frmView;

class FinestraRiepilogo : public QWidget {
    Q_OBJECT

public:
    /// The window over the work file open in `finestra`; nothing is read yet.
    FinestraRiepilogo(frmView& finestra, Dialoghi& dialoghi);
    /// Totals the work file in one pass, off the window's thread with progress and
    /// Annulla. False when cancelled or when the file cannot be read (error shown).
    bool calcola();
    /// Asks where to save the summary on show and writes it in the type chosen: a
    /// workbook or CSV.
    void salva();
    /// Copies the summary on show, with its headers, as tab-separated text.
    void copia();

private:
    void mostra();
    Raggruppamento raggruppamento() const;
    bool euro() const;

    frmView& finestra_;
    DialoghiVista dialoghi_;
    std::optional<Riepilogo> riepilogo_;
    QComboBox* scelta_ = nullptr;
    QTableWidget* tabella_ = nullptr;
    QLabel* stato_ = nullptr;
};

}  // namespace pliventa
