// The payments list as Qt's table model, the window of rows on screen that the
// list window moves over the whole list, and as a table to print, every row.
#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <memory>

#include "browse/elenco.h"
#include "records/archivio.h"
#include "shell/stampa.h"

namespace pliventa {

/// A few dozen rows of the list, from row inizio() on: the rows on screen. Qt's
/// views keep memory for every row of their model, a tenth of a gigabyte for ten
/// million payments, so the model holds a screenful and the list window moves it.
/// The model owns the list and the file handle the list reads.
class ModelloElenco : public QAbstractTableModel {
    Q_OBJECT

public:
    ModelloElenco(std::shared_ptr<const ArchivioLavoro> archivio, ElencoVersamenti elenco,
                  QObject* genitore);
    int rowCount(const QModelIndex& genitore = {}) const override;
    int columnCount(const QModelIndex& genitore = {}) const override;
    QVariant data(const QModelIndex& indice, int ruolo = Qt::DisplayRole) const override;
    QVariant headerData(int sezione, Qt::Orientation orientamento,
                        int ruolo = Qt::DisplayRole) const override;

    /// Shows rows `inizio` to `inizio` + `quante` - 1 of the list, those of them
    /// that exist.
    void impostaFinestra(std::uint64_t inizio, int quante);
    /// The list's row of the model's row 0.
    std::uint64_t inizio() const { return inizio_; }

    /// Runs `cambia` on the list (new rows), then says so with elencoCambiato().
    template <typename F>
    void cambiaElenco(F&& cambia) {
        cambia(elenco_);
        emit elencoCambiato();
    }
    /// Shows the cells with `formato` from now on (the currency box changed).
    void impostaFormato(const FormatoElenco& formato);

    const ElencoVersamenti& elenco() const { return elenco_; }
    /// The file the list reads, shared with the scans of the filter and the order.
    const std::shared_ptr<const ArchivioLavoro>& archivio() const { return archivio_; }

signals:
    /// The list has other rows: the window must be set again.
    void elencoCambiato();

private:
    std::shared_ptr<const ArchivioLavoro> archivio_;
    ElencoVersamenti elenco_;
    std::uint64_t inizio_ = 0;
    int quante_ = 0;
};

/// Every row of a list, for a printout: a copy of the list, which reads the file
/// on the printout's thread.
class StampaElenco : public TabellaStampa {
public:
    StampaElenco(std::shared_ptr<const ArchivioLavoro> archivio, ElencoVersamenti elenco)
        : archivio_(std::move(archivio)), elenco_(std::move(elenco)) {}
    int colonne() const override;
    QString intestazione(int colonna) const override;
    bool aDestra(int colonna) const override;
    std::uint64_t righe() const override { return elenco_.righe(); }
    QStringList riga(std::uint64_t riga, int& livello) const override;

private:
    std::shared_ptr<const ArchivioLavoro> archivio_;
    ElencoVersamenti elenco_;
};

}  // namespace pliventa
