// The "Elenco versamenti" window: every payment of the open work file in a table
// that reads only the rows on screen, a filter bar whose scan runs off the
// window's thread, and a double-click that shows a payment in the main window.
#pragma once

#include <QAbstractTableModel>
#include <QWidget>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "browse/elenco.h"
#include "browse/filtro.h"
#include "records/archivio.h"
#include "shell/viste.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QTableView;
class QTimer;

namespace pliventa {

class Lavoro;

/// The table over the core's list: Qt asks for the cells of the rows on screen.
/// The rows are handed to the view a hundred thousand at a time, as it scrolls
/// near the end of those it has: Qt's headers keep a little memory per row, which
/// for ten million rows would be a tenth of a gigabyte and a slow first screen.
/// The model owns the list and the file handle the list reads.
class ModelloElenco : public QAbstractTableModel {
    Q_OBJECT

public:
    ModelloElenco(std::shared_ptr<const ArchivioLavoro> archivio, ElencoVersamenti elenco,
                  QObject* genitore);
    int rowCount(const QModelIndex& genitore = {}) const override;
    bool canFetchMore(const QModelIndex& genitore) const override;
    void fetchMore(const QModelIndex& genitore) override;
    int columnCount(const QModelIndex& genitore = {}) const override;
    QVariant data(const QModelIndex& indice, int ruolo = Qt::DisplayRole) const override;
    QVariant headerData(int sezione, Qt::Orientation orientamento,
                        int ruolo = Qt::DisplayRole) const override;
    /// Runs `cambia` on the list between the model's reset signals.
    template <typename F>
    void cambiaElenco(F&& cambia) {
        beginResetModel();
        cambia(elenco_);
        consegnate_ = std::min<std::uint64_t>(elenco_.righe(), kPasso);
        endResetModel();
    }
    const ElencoVersamenti& elenco() const { return elenco_; }
    /// The file the list reads, shared with the filter's scans.
    const std::shared_ptr<const ArchivioLavoro>& archivio() const { return archivio_; }

    /// Rows handed to the view at a time.
    static constexpr std::uint64_t kPasso = 100'000;

private:
    std::shared_ptr<const ArchivioLavoro> archivio_;
    ElencoVersamenti elenco_;
    std::uint64_t consegnate_ = 0;  ///< rows the view knows of
};

class FinestraElenco : public QWidget {
    Q_OBJECT

public:
    /// The window over `elenco`, the list of `archivio`, as a window of `genitore`.
    FinestraElenco(std::shared_ptr<const ArchivioLavoro> archivio, ElencoVersamenti elenco,
                   Dialoghi& dialoghi, QWidget* genitore);
    /// Stops a filter scan that is running.
    ~FinestraElenco() override;
    /// True while a filter scan runs.
    /// Copies the selected rows to the clipboard as tab-separated text.
    void copia();
    /// Shows the cells with `formato` from now on (the currency box changed).
    void impostaFormato(const FormatoElenco& formato);

signals:
    /// The clerk chose the payment of record `numero` (Enter or a double-click).
    void versamentoScelto(std::uint64_t numero);
    /// The clerk asked for the statement of the codice fiscale `codice` (the row's menu).
    void schedaRichiesta(const QString& codice);

private:
    void filtroCambiato();
    void avviaFiltro();
    /// Scrolls to the first row and makes it the current, selected one.
    void mostraInizio();
    void scansioneFinita();
    void aggiornaStato();
    Filtro filtroAttuale() const;

    DialoghiVista dialoghi_;
    ModelloElenco* modello_ = nullptr;
    /// The filter's scan while it runs, and where it leaves its result.
    std::unique_ptr<Lavoro> scansione_;
    std::shared_ptr<std::optional<Esito<std::vector<std::uint32_t>>>> risultato_;
    bool filtroRinviato_ = false;  ///< the filter changed while a scan ran
    QString errore_;

    QLineEdit* filtroCodice_ = nullptr;
    QLineEdit* filtroAnno_ = nullptr;
    QComboBox* filtroTipo_ = nullptr;
    QCheckBox* filtroAnomalie_ = nullptr;
    QProgressBar* progresso_ = nullptr;
    QLabel* stato_ = nullptr;
    QTableView* tabella_ = nullptr;
    QTimer* attesa_ = nullptr;  ///< lets the typing settle before a scan
};

}  // namespace pliventa
