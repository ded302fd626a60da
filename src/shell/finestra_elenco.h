// The "Elenco versamenti" window: every payment of the open work file in a table
// that reads only the rows on screen, a filter bar, an order chosen by a click on
// a column's header, both found off the window's thread with progress and
// Annulla, and a double-click that shows a payment in the main window.
#pragma once

#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "browse/elenco.h"
#include "browse/filtro.h"
#include "browse/ordine.h"
#include "records/archivio.h"
#include "shell/viste.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace pliventa {

class Lavoro;
class ModelloElenco;
class TabellaElenco;
class TabellaStampa;

class FinestraElenco : public QWidget {
    Q_OBJECT

public:
    /// The window over `elenco`, the list of `archivio`, as a window of `genitore`.
    FinestraElenco(std::shared_ptr<const ArchivioLavoro> archivio, ElencoVersamenti elenco,
                   Dialoghi& dialoghi, QWidget* genitore);
    /// Stops a scan that is running.
    ~FinestraElenco() override;
    /// Copies the selected rows to the clipboard as tab-separated text, in the
    /// order shown.
    void copia();
    /// Shows the cells with `formato` from now on (the currency box changed).
    void impostaFormato(const FormatoElenco& formato);
    /// Every row shown, in the order shown, for a printout made on another thread.
    std::unique_ptr<TabellaStampa> tabellaStampa() const;

signals:
    /// The clerk chose the payment of record `numero` (Enter or a double-click).
    void versamentoScelto(std::uint64_t numero);
    /// The clerk asked for the statement of the codice fiscale `codice` (the row's menu).
    void schedaRichiesta(const QString& codice);

private:
    void filtroCambiato();
    void intestazioneCliccata(int sezione);
    /// Finds the rows of the filter and the order asked for, off the window's thread.
    void avvia();
    void scansioneFinita();
    void annulla();
    void aggiornaStato();
    void mostraOrdine(Ordine ordine);
    Filtro filtroAttuale() const;

    DialoghiVista dialoghi_;
    ModelloElenco* modello_ = nullptr;
    TabellaElenco* tabella_ = nullptr;
    /// The order shown and the one asked for (they differ while a scan runs).
    Ordine ordine_;
    Ordine ordineChiesto_;
    /// The scan while it runs, and where it leaves its result.
    std::unique_ptr<Lavoro> scansione_;
    std::shared_ptr<std::optional<Esito<std::vector<std::uint32_t>>>> risultato_;
    bool rinviata_ = false;         ///< the filter or the order changed while a scan ran
    bool filtroScansione_ = false;  ///< the running scan applies a filter
    bool annullata_ = false;        ///< Annulla was pressed while the scan ran
    QString avviso_;

    QLineEdit* filtroCodice_ = nullptr;
    QLineEdit* filtroAnno_ = nullptr;
    QComboBox* filtroTipo_ = nullptr;
    QCheckBox* filtroAnomalie_ = nullptr;
    QProgressBar* progresso_ = nullptr;
    QPushButton* annulla_ = nullptr;
    QLabel* stato_ = nullptr;
    QTimer* attesa_ = nullptr;  ///< lets the typing settle before a scan
};

}  // namespace pliventa
