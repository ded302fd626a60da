#include "shell/modello_elenco.h"

#include <algorithm>

#include "shell/viste.h"

namespace pliventa {

namespace {

QVariant cella(const ElencoVersamenti& elenco, std::uint64_t riga, int colonna, int ruolo) {
    const auto c = static_cast<std::size_t>(colonna);
    if (c >= kColonneElenco) {
        return {};
    }
    if (ruolo == Qt::DisplayRole) {
        return daUtf8(elenco.testo(riga, c));
    }
    if (ruolo == Qt::TextAlignmentRole && kADestraElenco[c]) {
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant intestazione(int sezione, Qt::Orientation orientamento, int ruolo) {
    if (orientamento != Qt::Horizontal || sezione < 0 ||
        sezione >= static_cast<int>(kColonneElenco)) {
        return {};
    }
    const auto s = static_cast<std::size_t>(sezione);
    if (ruolo == Qt::DisplayRole) {
        return daUtf8(kIntestazioniElenco[s]);
    }
    if (ruolo == Qt::ToolTipRole) {
        return daUtf8(kSpiegazioniElenco[s]);
    }
    return {};
}

}  // namespace

ModelloElenco::ModelloElenco(std::shared_ptr<const ArchivioLavoro> archivio,
                             ElencoVersamenti elenco, QObject* genitore)
    : QAbstractTableModel(genitore), archivio_(std::move(archivio)), elenco_(std::move(elenco)) {}

int ModelloElenco::rowCount(const QModelIndex& genitore) const {
    return genitore.isValid() ? 0 : quante_;
}

int ModelloElenco::columnCount(const QModelIndex& genitore) const {
    return genitore.isValid() ? 0 : static_cast<int>(kColonneElenco);
}

QVariant ModelloElenco::data(const QModelIndex& indice, int ruolo) const {
    if (!indice.isValid()) {
        return {};
    }
    return cella(elenco_, inizio_ + static_cast<std::uint64_t>(indice.row()), indice.column(),
                 ruolo);
}

QVariant ModelloElenco::headerData(int sezione, Qt::Orientation orientamento, int ruolo) const {
    return intestazione(sezione, orientamento, ruolo);
}

void ModelloElenco::impostaFinestra(std::uint64_t inizio, int quante) {
    const std::uint64_t righe = elenco_.righe();
    inizio = std::min(inizio, righe);
    const int n = static_cast<int>(
        std::min<std::uint64_t>(static_cast<std::uint64_t>(std::max(quante, 0)), righe - inizio));
    // Rows come and go only at the end; the rows that stay show other payments.
    if (n > quante_) {
        beginInsertRows({}, quante_, n - 1);
        inizio_ = inizio;
        quante_ = n;
        endInsertRows();
    } else if (n < quante_) {
        beginRemoveRows({}, n, quante_ - 1);
        inizio_ = inizio;
        quante_ = n;
        endRemoveRows();
    }
    inizio_ = inizio;
    if (quante_ > 0) {
        emit dataChanged(index(0, 0), index(quante_ - 1, columnCount() - 1));
    }
}

void ModelloElenco::impostaFormato(const FormatoElenco& formato) {
    elenco_.impostaFormato(formato);
    if (quante_ > 0) {
        emit dataChanged(index(0, 0), index(quante_ - 1, columnCount() - 1));
    }
}

int StampaElenco::colonne() const {
    return static_cast<int>(kColonneElenco);
}

QString StampaElenco::intestazione(int colonna) const {
    return daUtf8(kIntestazioniElenco[static_cast<std::size_t>(colonna)]);
}

bool StampaElenco::aDestra(int colonna) const {
    return kADestraElenco[static_cast<std::size_t>(colonna)];
}

QStringList StampaElenco::riga(std::uint64_t riga, int& livello) const {
    livello = 0;
    QStringList celle;
    for (std::size_t c = 0; c < kColonneElenco; ++c) {
        celle.append(daUtf8(elenco_.testo(riga, c)));
    }
    return celle;
}

}  // namespace pliventa
