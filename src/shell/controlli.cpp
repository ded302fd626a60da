#include "shell/controlli.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "records/testo.h"
#include "shell/dialoghi.h"
#include "shell/frmview.h"
#include "shell/lavoro.h"
#include "shell/viste.h"

namespace pliventa {

namespace {

enum Colonna { cNumero, cRegola, cValore, cCodice, cData, kColonne };

const char* const kIntestazioni[kColonne] = {"N.", "Anomalia", "Valore", "Codice fiscale",
                                             "Data versamento"};

}  // namespace

ModelloControlli::ModelloControlli(const ArchivioLavoro& archivio, const AnomalieTrovate& trovate,
                                   const frmView& finestra, QObject* genitore)
    : QAbstractTableModel(genitore), archivio_(archivio), trovate_(trovate), finestra_(finestra) {}

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
        Esito<Versamento> letto = archivio_.leggirecord(n);
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
            return daUtf8(valoreMostrato(*v, a.regola, finestra_.valuta().toStdString(),
                                         finestra_.separatori()));
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

void ModelloControlli::aggiorna() {
    if (rowCount() > 0) {
        emit dataChanged(index(0, cValore), index(rowCount() - 1, cValore), {Qt::DisplayRole});
    }
}

FinestraControlli::FinestraControlli(frmView& finestra, Dialoghi& dialoghi)
    : QWidget(&finestra), finestra_(finestra), dialoghi_(this, dialoghi) {
    preparaVista(this, finestra, QStringLiteral("FinestraControlli"), QStringLiteral("Controlli"));
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
}

FinestraControlli::~FinestraControlli() {
    // The table goes before the anomalies and the file it shows, which are members.
    delete tabella_;
    delete modello_;
}

bool FinestraControlli::calcola() {
    const ArchivioLavoro* aperto = finestra_.sessione().archivio();
    if (aperto == nullptr) {
        return false;
    }
    // A handle of its own: the window reads the file while the main window may
    // close its handle.
    Esito<ArchivioLavoro> archivio = ArchivioLavoro::apriarchivio(aperto->percorso());
    if (!archivio) {
        dialoghi_.messaggio(QStringLiteral("Impossibile controllare i versamenti.\r\n") +
                                QString::fromStdString(archivio.errore().descrizione()),
                            QStringLiteral("Controlli"), Pulsanti::ok, Icona::esclamazione);
        return false;
    }
    archivio_.emplace(std::move(*archivio));
    std::optional<Esito<AnomalieTrovate>> esito;
    Lavoro lavoro([&](Lavoro& l) {
        Controllo controllo;
        controllo.annulla = &l.annullamento();
        controllo.progresso = [&l](std::uint64_t fatti, std::uint64_t totale) {
            l.avanza(0, fatti, totale);
        };
        esito = cercaAnomalie(*archivio_, controllo);
    });
    finestra_.eseguiLavoro(lavoro, QStringLiteral("Controlli"),
                           {QStringLiteral("Controllo dei versamenti…")});
    esito = esitoDi(lavoro, std::move(esito));
    if (!esito || !*esito) {
        if (esito && esito->errore().codice != CodiceErrore::Annullato) {
            dialoghi_.messaggio(QStringLiteral("Impossibile controllare i versamenti.\r\n") +
                                    QString::fromStdString(esito->errore().descrizione()),
                                QStringLiteral("Controlli"), Pulsanti::ok, Icona::esclamazione);
        }
        return false;
    }
    trovate_ = std::move(**esito);
    modello_ = new ModelloControlli(*archivio_, trovate_, finestra_, this);
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
        trovate_.anomalie.empty() ? QString() : QString::number(trovate_.anomalie.back().numero);
    adattaColonna(tabella_, cNumero, numero);
    adattaColonna(tabella_, cRegola, regola);
    adattaColonna(tabella_, cCodice, codiceLarghissimo(tabella_->fontMetrics()));
    adattaColonna(tabella_, cData, QStringLiteral("00/00/0000"));
    connect(tabella_, &QTableView::activated, this, [this](const QModelIndex& indice) {
        finestra_.vaiAVersamento(modello_->numero(indice.row()));
    });
    connect(&finestra_, &frmView::valutaCambiata, modello_, &ModelloControlli::aggiorna);
    QString testo = QStringLiteral("Versamenti controllati: %1 · con anomalie: %2")
                        .arg(trovate_.versamenti)
                        .arg(trovate_.anomali);
    if (trovate_.parziale) {
        testo += QStringLiteral(" · ultimo record incompleto, non controllato");
    }
    sommario_->setText(testo);
    return true;
}

}  // namespace pliventa
