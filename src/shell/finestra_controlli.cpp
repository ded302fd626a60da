#include "shell/finestra_controlli.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "base/testo.h"
#include "shell/viste.h"

namespace pliventa {

namespace {

enum Colonna { cNumero, cRegola, cValore, cCodice, cData, kColonne };

const char* const kIntestazioni[kColonne] = {"N.", "Anomalia", "Valore", "Codice fiscale",
                                             "Data versamento"};

}  // namespace

ModelloControlli::ModelloControlli(std::shared_ptr<const ArchivioLavoro> archivio,
                                   AnomalieTrovate trovate, std::string valuta, QObject* genitore)
    : QAbstractTableModel(genitore),
      archivio_(std::move(archivio)),
      trovate_(std::move(trovate)),
      valuta_(std::move(valuta)) {}

int ModelloControlli::rowCount(const QModelIndex& genitore) const {
    return genitore.isValid() ? 0
                              : static_cast<int>(std::min<std::size_t>(
                                    trovate_.anomalie.size(), std::numeric_limits<int>::max()));
}

int ModelloControlli::columnCount(const QModelIndex& genitore) const {
    return genitore.isValid() ? 0 : kColonne;
}

std::uint32_t ModelloControlli::numero(int riga) const {
    return trovate_.anomalie[static_cast<std::size_t>(riga)].numero;
}

const Versamento* ModelloControlli::versamento(std::uint32_t n) const {
    // A row asks for each of its columns in turn: one read serves them all.
    if (!ultimo_ || ultimo_->first != n) {
        Esito<Versamento> letto = archivio_->leggirecord(n);
        if (!letto) {
            ultimo_.reset();
            return nullptr;
        }
        ultimo_.emplace(n, *letto);
    }
    return &ultimo_->second;
}

QVariant ModelloControlli::data(const QModelIndex& indice, int ruolo) const {
    if (!indice.isValid() || (ruolo != Qt::DisplayRole && ruolo != Qt::TextAlignmentRole)) {
        return {};
    }
    if (ruolo == Qt::TextAlignmentRole) {
        return indice.column() == cNumero ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                          : QVariant();
    }
    const Anomalia& a = trovate_.anomalie[static_cast<std::size_t>(indice.row())];
    switch (indice.column()) {
        case cNumero:
            return QString::number(a.numero);
        case cRegola:
            return daUtf8(descrizioneRegola(a.regola));
        default:
            break;
    }
    const Versamento* v = versamento(a.numero);
    if (v == nullptr) {
        return {};  // the file can no longer be read there: an empty cell, not a guess
    }
    switch (indice.column()) {
        case cValore:
            return daUtf8(valoreMostrato(*v, a.regola, valuta_, separatoriDelLocale(),
                                         trovate_.originale(a.numero)));
        case cCodice:
            return daUtf8(daCp1252(v->campo(Campo::codicefiscale))).trimmed();
        case cData:
            return daUtf8(daCp1252(v->dataVersamento()));
        default:
            return {};
    }
}

QVariant ModelloControlli::headerData(int sezione, Qt::Orientation orientamento, int ruolo) const {
    if (orientamento != Qt::Horizontal || sezione < 0 || sezione >= kColonne) {
        return {};
    }
    if (ruolo == Qt::DisplayRole) {
        return QString::fromUtf8(kIntestazioni[sezione]);
    }
    if (ruolo == Qt::ToolTipRole) {
        return QStringLiteral(
            "Righe nell'ordine del file: per numero di versamento, poi per "
            "anomalia");
    }
    return {};
}

void ModelloControlli::impostaValuta(std::string valuta) {
    valuta_ = std::move(valuta);
    if (rowCount() > 0) {
        emit dataChanged(index(0, cValore), index(rowCount() - 1, cValore), {Qt::DisplayRole});
    }
}

FinestraControlli::FinestraControlli(std::shared_ptr<const ArchivioLavoro> archivio,
                                     AnomalieTrovate trovate, const QString& valuta,
                                     QWidget* genitore)
    : QWidget(genitore) {
    preparaVista(this, QStringLiteral("FinestraControlli"), QStringLiteral("Controlli"),
                 archivio->percorso());
    auto* colonna = new QVBoxLayout(this);
    sommario_ = new QLabel(this);
    sommario_->setObjectName(QStringLiteral("sommarioControlli"));
    tabella_ = new QTableView(this);
    preparaTabella(tabella_, QStringLiteral("tabellaControlli"));
    abilitaCopia(tabella_, [this] { copiaRighe(tabella_); });
    auto* barra = new QHBoxLayout;
    barra->addWidget(sommario_, 1);
    barra->addWidget(pulsanteChiudi(this, QStringLiteral("&Chiudi")));
    colonna->addLayout(barra);
    colonna->addWidget(tabella_, 1);
    resize(900, 500);

    modello_ =
        new ModelloControlli(std::move(archivio), std::move(trovate), valuta.toStdString(), this);
    const AnomalieTrovate& t = modello_->trovate();
    tabella_->setModel(modello_);
    tabella_->horizontalHeader()->setSectionResizeMode(cValore, QHeaderView::Stretch);
    // Sized for the widest text each column can hold, not for the rows in sight.
    QString regola;
    for (const Regola r : kRegole) {
        const QString d = daUtf8(descrizioneRegola(r));
        if (tabella_->fontMetrics().horizontalAdvance(d) >
            tabella_->fontMetrics().horizontalAdvance(regola)) {
            regola = d;
        }
    }
    const QString numero =
        t.anomalie.empty() ? QString() : QString::number(t.anomalie.back().numero);
    adattaColonna(tabella_, cNumero, numero);
    adattaColonna(tabella_, cRegola, regola);
    adattaColonna(tabella_, cCodice, codiceLarghissimo(tabella_->fontMetrics()));
    adattaColonna(tabella_, cData, QStringLiteral("00/00/0000"));
    connect(tabella_, &QTableView::activated, this, [this](const QModelIndex& indice) {
        emit versamentoScelto(modello_->numero(indice.row()));
    });
    QString testo = QStringLiteral("Versamenti controllati: %1 · con anomalie: %2")
                        .arg(t.versamenti)
                        .arg(t.anomali);
    if (t.parziale) {
        testo += QStringLiteral(" · ultimo record incompleto, non controllato");
    }
    sommario_->setText(testo);
}

void FinestraControlli::impostaValuta(const QString& valuta) {
    modello_->impostaValuta(valuta.toStdString());
}

}  // namespace pliventa
