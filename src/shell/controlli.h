// The "Controlli" window: the payments of the open work file that break a check,
// one row per rule broken; a double-click shows the payment in the main window.
#pragma once

#include <QAbstractTableModel>
#include <QWidget>
#include <optional>

#include "checks/scansione.h"
#include "records/archivio.h"
#include "shell/viste.h"

class QLabel;
class QTableView;

namespace pliventa {

class frmView;

/// The rows of the anomalies found: number, rule, what it looked at, codice
/// fiscale, payment date. Each row's record is read when the row is shown.
class ModelloControlli : public QAbstractTableModel {
    Q_OBJECT

public:
    ModelloControlli(const ArchivioLavoro& archivio, const AnomalieTrovate& trovate,
                     const frmView& finestra, QObject* genitore);
    int rowCount(const QModelIndex& genitore = {}) const override;
    int columnCount(const QModelIndex& genitore = {}) const override;
    QVariant data(const QModelIndex& indice, int ruolo = Qt::DisplayRole) const override;
    QVariant headerData(int sezione, Qt::Orientation orientamento,
                        int ruolo = Qt::DisplayRole) const override;
    /// The record number of `riga`.
    std::uint32_t numero(int riga) const;
    /// Shows the amounts again (the currency box changed).
    void aggiorna();

private:
    const Versamento* versamento(std::uint32_t numero) const;
    const ArchivioLavoro& archivio_;
    const AnomalieTrovate& trovate_;
    const frmView& finestra_;
    mutable std::optional<std::pair<std::uint32_t, Versamento>> ultimo_;
};

class FinestraControlli : public QWidget {
    Q_OBJECT

public:
    /// The window over the work file open in `finestra`; nothing is read yet.
    FinestraControlli(frmView& finestra, Dialoghi& dialoghi);
    ~FinestraControlli() override;
    /// Checks every payment, off the window's thread with progress and Annulla.
    /// False when cancelled or when the file cannot be read (the error shown).
    bool calcola();

private:
    frmView& finestra_;
    DialoghiVista dialoghi_;
    std::optional<ArchivioLavoro> archivio_;
    AnomalieTrovate trovate_;
    ModelloControlli* modello_ = nullptr;
    QTableView* tabella_ = nullptr;
    QLabel* sommario_ = nullptr;
};

}  // namespace pliventa
