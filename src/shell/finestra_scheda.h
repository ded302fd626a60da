// The "Scheda contribuente" window: every payment of one codice fiscale, grouped
// by tax year and kind under each group's totals, with the anomalies of each
// payment; a double-click shows the payment in the main window.
#pragma once

#include <QWidget>
#include <cstdint>
#include <memory>

#include "records/archivio.h"
#include "summary/riepilogo.h"

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace pliventa {

class FinestraScheda : public QWidget {
    Q_OBJECT

public:
    /// The statement of `codice` (as typed) in `archivio`, whose totals by tax year
    /// are `scheda` (riepiloga() over that code alone), with the amounts in
    /// `valuta`, as a window of `genitore`. Its payments are read from `archivio`,
    /// which the window keeps.
    FinestraScheda(std::shared_ptr<const ArchivioLavoro> archivio, const QString& codice,
                   Riepilogo scheda, const QString& valuta, QWidget* genitore);
    /// Shows the amounts in `valuta` from now on (the currency box changed).
    void impostaValuta(const QString& valuta);

signals:
    /// The clerk asked to see payment `numero` (a double-click on its row).
    void versamentoScelto(std::uint64_t numero);

private:
    void mostra();
    void scelto(QTreeWidgetItem* riga);

    std::shared_ptr<const ArchivioLavoro> archivio_;
    Riepilogo scheda_;
    QString valuta_;
    QTreeWidget* albero_ = nullptr;
    QLabel* stato_ = nullptr;
};

}  // namespace pliventa
