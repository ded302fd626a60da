// The "Controlli" window: the payments of the open work file that break a check,
// one row per rule broken; a double-click shows the payment in the main window.
#pragma once

#include <QAbstractTableModel>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "checks/scansione.h"
#include "records/archivio.h"
#include "shell/viste.h"

class QLabel;
class QTableView;

namespace pliventa {

/// The rows of the anomalies found: number, rule, what it looked at, codice
/// fiscale, payment date. Each row's record is read when the row is shown. The
/// model owns the anomalies and the file handle it reads them from.
class ModelloControlli : public QAbstractTableModel {
    Q_OBJECT

public:
    ModelloControlli(std::shared_ptr<const ArchivioLavoro> archivio, AnomalieTrovate trovate,
                     std::string valuta, QObject* genitore);
    int rowCount(const QModelIndex& genitore = {}) const override;
    int columnCount(const QModelIndex& genitore = {}) const override;
    QVariant data(const QModelIndex& indice, int ruolo = Qt::DisplayRole) const override;
    QVariant headerData(int sezione, Qt::Orientation orientamento,
                        int ruolo = Qt::DisplayRole) const override;
    /// The record number of `riga`.
    std::uint32_t numero(int riga) const;
    /// Shows the amounts again in `valuta` (the currency box changed).
    void impostaValuta(std::string valuta);
    const AnomalieTrovate& trovate() const { return trovate_; }

private:
    const Versamento* versamento(std::uint32_t numero) const;
    std::shared_ptr<const ArchivioLavoro> archivio_;
    AnomalieTrovate trovate_;
    std::string valuta_;
    mutable std::optional<std::pair<std::uint32_t, Versamento>> ultimo_;
};

class FinestraControlli : public QWidget {
    Q_OBJECT

public:
    /// The window over `trovate`, the anomalies of `archivio`, with the amounts in
    /// `valuta`, as a window of `genitore`.
    FinestraControlli(std::shared_ptr<const ArchivioLavoro> archivio, AnomalieTrovate trovate,
                      const QString& valuta, QWidget* genitore);
    /// Shows the amounts in `valuta` from now on (the currency box changed).
    void impostaValuta(const QString& valuta);

signals:
    /// The clerk chose the payment of record `numero` (Enter or a double-click).
    void versamentoScelto(std::uint64_t numero);

private:
    ModelloControlli* modello_ = nullptr;
    QTableView* tabella_ = nullptr;
    QLabel* sommario_ = nullptr;
};

}  // namespace pliventa
