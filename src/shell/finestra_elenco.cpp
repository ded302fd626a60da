#include "shell/finestra_elenco.h"

#include <QAction>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "shell/dialoghi.h"
#include "shell/lavoro.h"
#include "shell/viste.h"

namespace pliventa {

namespace {

// A spreadsheet takes at most this many rows; a larger copy would only fill the
// clipboard with what no program can paste.
constexpr std::uint64_t kMassimoRigheCopiate = 1'048'576;

}  // namespace

ModelloElenco::ModelloElenco(std::shared_ptr<const ArchivioLavoro> archivio,
                             ElencoVersamenti elenco, QObject* genitore)
    : QAbstractTableModel(genitore),
      archivio_(std::move(archivio)),
      elenco_(std::move(elenco)),
      consegnate_(std::min<std::uint64_t>(elenco_.righe(), kPasso)) {}

int ModelloElenco::rowCount(const QModelIndex& genitore) const {
    return genitore.isValid() ? 0
                              : static_cast<int>(std::min<std::uint64_t>(
                                    consegnate_, std::numeric_limits<int>::max()));
}

bool ModelloElenco::canFetchMore(const QModelIndex& genitore) const {
    return !genitore.isValid() && consegnate_ < elenco_.righe() &&
           consegnate_ < static_cast<std::uint64_t>(std::numeric_limits<int>::max());
}

void ModelloElenco::fetchMore(const QModelIndex& genitore) {
    if (!canFetchMore(genitore)) {
        return;
    }
    const std::uint64_t fino =
        std::min<std::uint64_t>({elenco_.righe(), consegnate_ + kPasso,
                                 static_cast<std::uint64_t>(std::numeric_limits<int>::max())});
    beginInsertRows({}, static_cast<int>(consegnate_), static_cast<int>(fino - 1));
    consegnate_ = fino;
    endInsertRows();
}

int ModelloElenco::columnCount(const QModelIndex& genitore) const {
    return genitore.isValid() ? 0 : static_cast<int>(kColonneElenco);
}

QVariant ModelloElenco::data(const QModelIndex& indice, int ruolo) const {
    if (!indice.isValid()) {
        return {};
    }
    const auto colonna = static_cast<std::size_t>(indice.column());
    if (ruolo == Qt::DisplayRole) {
        return daUtf8(elenco_.testo(static_cast<std::uint64_t>(indice.row()), colonna));
    }
    if (ruolo == Qt::TextAlignmentRole && kADestraElenco[colonna]) {
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant ModelloElenco::headerData(int sezione, Qt::Orientation orientamento, int ruolo) const {
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

FinestraElenco::FinestraElenco(std::shared_ptr<const ArchivioLavoro> archivio,
                               ElencoVersamenti elenco, Dialoghi& dialoghi, QWidget* genitore)
    : QWidget(genitore), dialoghi_(this, dialoghi) {
    preparaVista(this, QStringLiteral("FinestraElenco"), QStringLiteral("Elenco versamenti"),
                 archivio->percorso());

    filtroCodice_ = new QLineEdit(this);
    filtroCodice_->setObjectName(QStringLiteral("filtroCodice"));
    filtroCodice_->setPlaceholderText(QStringLiteral("Codice fiscale (parte iniziale)"));
    filtroCodice_->setAccessibleName(QStringLiteral("Codice fiscale"));
    filtroAnno_ = new QLineEdit(this);
    filtroAnno_->setObjectName(QStringLiteral("filtroAnno"));
    filtroAnno_->setPlaceholderText(QStringLiteral("Anno"));
    filtroAnno_->setAccessibleName(QStringLiteral("Anno d'imposta"));
    filtroAnno_->setToolTip(QStringLiteral("Anno d'imposta: due cifre (03) o quattro (2003)"));
    filtroAnno_->setMaxLength(4);
    filtroAnno_->setFixedWidth(
        filtroAnno_->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    filtroTipo_ = new QComboBox(this);
    filtroTipo_->setObjectName(QStringLiteral("filtroTipo"));
    filtroTipo_->setAccessibleName(QStringLiteral("Tipo di versamento"));
    filtroTipo_->addItems({QStringLiteral("Tutti"), QStringLiteral("Ordinari (O)"),
                           QStringLiteral("Violazioni (V)")});
    filtroAnomalie_ = new QCheckBox(QStringLiteral("Solo &anomalie"), this);
    filtroAnomalie_->setObjectName(QStringLiteral("filtroAnomalie"));
    progresso_ = new QProgressBar(this);
    progresso_->setObjectName(QStringLiteral("progressoFiltro"));
    progresso_->setMaximumWidth(160);
    progresso_->setVisible(false);

    // Each filter reached from the keyboard by the caption before it.
    const auto didascalia = [this](const QString& testo, QWidget* campo) {
        auto* l = new QLabel(testo, this);
        l->setBuddy(campo);
        return l;
    };
    auto* barra = new QHBoxLayout;
    barra->addWidget(didascalia(QStringLiteral("&Codice fiscale:"), filtroCodice_));
    barra->addWidget(filtroCodice_, 1);
    barra->addWidget(didascalia(QStringLiteral("A&nno:"), filtroAnno_));
    barra->addWidget(filtroAnno_);
    barra->addWidget(didascalia(QStringLiteral("&Tipo:"), filtroTipo_));
    barra->addWidget(filtroTipo_);
    barra->addWidget(filtroAnomalie_);
    barra->addWidget(progresso_);
    barra->addWidget(pulsanteChiudi(this, QStringLiteral("C&hiudi")));

    tabella_ = new QTableView(this);
    preparaTabella(tabella_, QStringLiteral("tabellaElenco"));
    stato_ = new QLabel(this);
    stato_->setObjectName(QStringLiteral("statoElenco"));

    auto* colonna = new QVBoxLayout(this);
    colonna->addLayout(barra);
    colonna->addWidget(tabella_, 1);
    colonna->addWidget(stato_);
    resize(1100, 600);

    attesa_ = new QTimer(this);
    attesa_->setSingleShot(true);
    attesa_->setInterval(200);
    connect(attesa_, &QTimer::timeout, this, &FinestraElenco::avviaFiltro);
    connect(filtroCodice_, &QLineEdit::textChanged, this, &FinestraElenco::filtroCambiato);
    connect(filtroAnno_, &QLineEdit::textChanged, this, &FinestraElenco::filtroCambiato);
    connect(filtroTipo_, &QComboBox::currentIndexChanged, this, &FinestraElenco::filtroCambiato);
    connect(filtroAnomalie_, &QCheckBox::toggled, this, &FinestraElenco::filtroCambiato);
    // Ctrl+C copies through the core, which reads the rows in blocks.
    abilitaCopia(tabella_, [this] { copia(); });

    modello_ = new ModelloElenco(std::move(archivio), std::move(elenco), this);
    tabella_->setModel(modello_);
    tabella_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    tabella_->resizeColumnsToContents();
    // The view measured the first rows only: the number column must hold the
    // largest record number, the last row's.
    const ElencoVersamenti& e = modello_->elenco();
    if (e.righe() > 0) {
        adattaColonna(tabella_, 0, daUtf8(e.testo(e.righe() - 1, 0)));
    }
    adattaLarghezza(this, tabella_);
    connect(tabella_, &QTableView::activated, this, [this](const QModelIndex& indice) {
        emit versamentoScelto(
            modello_->elenco().numeroRecord(static_cast<std::uint64_t>(indice.row())));
    });
    // The row's menu: the statement of the taxpayer of the current row.
    auto* scheda = new QAction(QStringLiteral("&Scheda contribuente…"), tabella_);
    scheda->setObjectName(QStringLiteral("azioneSchedaRiga"));
    tabella_->addAction(scheda);
    tabella_->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(scheda, &QAction::triggered, this, [this] {
        const QModelIndex corrente = tabella_->currentIndex();
        if (corrente.isValid()) {
            emit schedaRichiesta(daUtf8(
                senzaSpazi(modello_->elenco().testo(static_cast<std::uint64_t>(corrente.row()),
                                                    indice(ColonnaElenco::codiceFiscale)))));
        }
    });
    aggiornaStato();
}

// The scan, if one runs, is stopped and waited for by its runner; it reads a
// file it shares, so nothing here needs to go in a given order.
FinestraElenco::~FinestraElenco() = default;

void FinestraElenco::impostaFormato(const FormatoElenco& formato) {
    modello_->cambiaElenco([&formato](ElencoVersamenti& e) { e.impostaFormato(formato); });
}

Filtro FinestraElenco::filtroAttuale() const {
    Filtro f;
    f.prefisso = filtroCodice_->text().toStdString();
    f.anno = filtroAnno_->text().trimmed().toStdString();
    f.tipo = static_cast<TipoFiltro>(filtroTipo_->currentIndex());
    f.soloAnomalie = filtroAnomalie_->isChecked();
    return f;
}

void FinestraElenco::filtroCambiato() {
    attesa_->start();
}

void FinestraElenco::avviaFiltro() {
    if (scansione_) {
        // A scan of the old filter still runs: it is stopped, and the new one
        // starts when it has.
        scansione_->annulla();
        filtroRinviato_ = true;
        return;
    }
    errore_.clear();
    const Filtro filtro = filtroAttuale();
    if (filtro.vuoto()) {
        modello_->cambiaElenco([](ElencoVersamenti& e) { e.togliFiltro(); });
        mostraInizio();
        aggiornaStato();
        return;
    }
    // The scan shares the file and its result with this window, never the window
    // itself: it may outlive neither, and touches nothing else.
    auto risultato = std::make_shared<std::optional<Esito<std::vector<std::uint32_t>>>>();
    risultato_ = risultato;
    scansione_ =
        std::make_unique<Lavoro>([archivio = modello_->archivio(), filtro, risultato](Lavoro& l) {
            *risultato = filtra(*archivio, filtro, l.controllo());
        });
    connect(scansione_.get(), &Lavoro::avanzato, progresso_, [this](Lavoro::Stato s) {
        progresso_->setValue(s.totale == 0 ? 0 : static_cast<int>(s.fatti * 100 / s.totale));
    });
    connect(scansione_.get(), &Lavoro::terminato, this, &FinestraElenco::scansioneFinita);
    progresso_->setValue(0);
    progresso_->setVisible(true);
    scansione_->avvia();
    aggiornaStato();
}

void FinestraElenco::scansioneFinita() {
    Esito<std::vector<std::uint32_t>> esito = esitoDi(*scansione_, std::move(*risultato_));
    // Deleted once this signal has returned: its sender is the runner.
    scansione_.release()->deleteLater();
    risultato_.reset();
    progresso_->setVisible(false);
    if (filtroRinviato_) {
        filtroRinviato_ = false;
        avviaFiltro();
        return;
    }
    if (esito) {
        modello_->cambiaElenco(
            [&esito](ElencoVersamenti& e) { e.applicaFiltro(std::move(*esito)); });
        mostraInizio();
    } else if (esito.errore().codice != CodiceErrore::Annullato) {
        errore_ = QStringLiteral("Filtro non riuscito: ") +
                  QString::fromStdString(esito.errore().descrizione());
    }
    aggiornaStato();
}

void FinestraElenco::aggiornaStato() {
    const QLocale locale;
    QString testo;
    if (!errore_.isEmpty()) {
        testo = errore_;
    } else if (scansione_) {
        testo = QStringLiteral("Ricerca in corso…");
    } else if (modello_->elenco().filtrato()) {
        testo = QStringLiteral("Versamenti: %1 di %2")
                    .arg(locale.toString(static_cast<qulonglong>(modello_->elenco().righe())),
                         locale.toString(static_cast<qulonglong>(modello_->elenco().versamenti())));
    } else {
        testo = QStringLiteral("Versamenti: %1")
                    .arg(locale.toString(static_cast<qulonglong>(modello_->elenco().versamenti())));
    }
    if (modello_->elenco().ultimoIncompleto()) {
        testo += QStringLiteral(" · l'ultimo record del file è incompleto e non è elencato");
    }
    if (!annoFiltroValido(filtroAnno_->text().toStdString())) {
        testo += QStringLiteral(" · l'anno va scritto con due o quattro cifre");
    }
    stato_->setText(testo);
}

void FinestraElenco::copia() {
    std::vector<std::uint64_t> righe;
    for (const QItemSelectionRange& tratto : tabella_->selectionModel()->selection()) {
        for (int r = tratto.top(); r <= tratto.bottom(); ++r) {
            righe.push_back(static_cast<std::uint64_t>(r));
            if (righe.size() > kMassimoRigheCopiate) {
                dialoghi_.messaggio(
                    QStringLiteral("Si possono copiare al massimo %1 righe alla volta.")
                        .arg(QLocale().toString(static_cast<qulonglong>(kMassimoRigheCopiate))),
                    QStringLiteral("Elenco versamenti"), Pulsanti::ok, Icona::esclamazione);
                return;
            }
        }
    }
    std::sort(righe.begin(), righe.end());
    righe.erase(std::unique(righe.begin(), righe.end()), righe.end());
    QApplication::clipboard()->setText(
        QString::fromStdString(modello_->elenco().copiaTabulata(righe)));
}

void FinestraElenco::mostraInizio() {
    // A new list starts at its first match, selected, whatever was in sight.
    tabella_->scrollToTop();
    if (modello_->rowCount() > 0) {
        tabella_->setCurrentIndex(modello_->index(0, 0));
        tabella_->selectRow(0);
    }
}

}  // namespace pliventa
