#include "shell/finestra_elenco.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "shell/dialoghi.h"
#include "shell/lavoro.h"
#include "shell/modello_elenco.h"
#include "shell/stampa.h"
#include "shell/tabella_elenco.h"

namespace pliventa {

namespace {

// A spreadsheet takes at most this many rows; a larger copy would only fill the
// clipboard with what no program can paste.
constexpr std::uint64_t kMassimoRigheCopiate = 1'048'576;

int sezioneDi(ColonnaOrdine colonna) {
    for (std::size_t c = 0; c < kColonneElenco; ++c) {
        if (kOrdineElenco[c] == colonna) {
            return static_cast<int>(c);
        }
    }
    return 0;
}

}  // namespace

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
    annulla_ = new QPushButton(QStringLiteral("Ann&ulla"), this);
    annulla_->setObjectName(QStringLiteral("annullaElenco"));
    annulla_->setAutoDefault(false);
    annulla_->setVisible(false);

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
    barra->addWidget(annulla_);
    barra->addWidget(pulsanteChiudi(this, QStringLiteral("C&hiudi")));

    modello_ = new ModelloElenco(std::move(archivio), std::move(elenco), this);
    tabella_ = new TabellaElenco(modello_, this);
    QTableView* vista = tabella_->vista();
    preparaTabella(vista, QStringLiteral("tabellaElenco"));
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
    connect(attesa_, &QTimer::timeout, this, &FinestraElenco::avvia);
    connect(filtroCodice_, &QLineEdit::textChanged, this, &FinestraElenco::filtroCambiato);
    connect(filtroAnno_, &QLineEdit::textChanged, this, &FinestraElenco::filtroCambiato);
    connect(filtroTipo_, &QComboBox::currentIndexChanged, this, &FinestraElenco::filtroCambiato);
    connect(filtroAnomalie_, &QCheckBox::toggled, this, &FinestraElenco::filtroCambiato);
    connect(annulla_, &QPushButton::clicked, this, &FinestraElenco::annulla);
    // Ctrl+C copies through the core, which reads the rows in blocks.
    abilitaCopia(vista, [this] { copia(); });

    QHeaderView* intestazioni = vista->horizontalHeader();
    intestazioni->setSectionResizeMode(QHeaderView::Interactive);
    intestazioni->setSectionsClickable(true);
    intestazioni->setSortIndicatorShown(true);
    connect(intestazioni, &QHeaderView::sectionClicked, this,
            &FinestraElenco::intestazioneCliccata);
    mostraOrdine(ordine_);
    vista->resizeColumnsToContents();
    // The view measured the rows on screen only: the number column must hold the
    // largest record number, the last row's.
    const ElencoVersamenti& e = modello_->elenco();
    if (e.righe() > 0) {
        adattaColonna(vista, 0, daUtf8(e.testo(e.righe() - 1, 0)));
    }
    // Nor had it seen the widest codice fiscale of the file.
    adattaColonna(vista, static_cast<int>(indice(ColonnaElenco::codiceFiscale)),
                  codiceLarghissimo(vista->fontMetrics()));
    adattaLarghezza(this, vista);
    connect(tabella_, &TabellaElenco::rigaAttivata, this, [this](std::uint64_t riga) {
        emit versamentoScelto(modello_->elenco().numeroRecord(riga));
    });
    // The row's menu: the statement of the taxpayer of the current row.
    auto* scheda = new QAction(QStringLiteral("&Scheda contribuente…"), vista);
    scheda->setObjectName(QStringLiteral("azioneSchedaRiga"));
    vista->addAction(scheda);
    vista->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(scheda, &QAction::triggered, this, [this] {
        if (const std::optional<std::uint64_t> riga = tabella_->corrente()) {
            emit schedaRichiesta(daUtf8(
                senzaSpazi(modello_->elenco().testo(*riga, indice(ColonnaElenco::codiceFiscale)))));
        }
    });
    aggiornaStato();
}

// The scan, if one runs, is stopped and waited for by its runner; it reads a
// file it shares, so nothing here needs to go in a given order.
FinestraElenco::~FinestraElenco() = default;

void FinestraElenco::impostaFormato(const FormatoElenco& formato) {
    modello_->impostaFormato(formato);
}

std::unique_ptr<TabellaStampa> FinestraElenco::tabellaStampa() const {
    return std::make_unique<StampaElenco>(modello_->archivio(), modello_->elenco());
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

void FinestraElenco::intestazioneCliccata(int sezione) {
    const std::optional<ColonnaOrdine> colonna = kOrdineElenco[static_cast<std::size_t>(sezione)];
    if (!colonna) {
        // A column that does not sort: the arrow stays where the order is.
        mostraOrdine(ordineChiesto_);
        return;
    }
    // A second click on the same column reverses the order.
    ordineChiesto_ =
        Ordine{*colonna, ordineChiesto_.colonna == *colonna && !ordineChiesto_.discendente};
    mostraOrdine(ordineChiesto_);
    avvia();
}

void FinestraElenco::mostraOrdine(Ordine ordine) {
    tabella_->vista()->horizontalHeader()->setSortIndicator(
        sezioneDi(ordine.colonna), ordine.discendente ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void FinestraElenco::avvia() {
    attesa_->stop();
    if (scansione_) {
        // A scan of the old filter or order still runs: it is stopped, and the
        // new one starts when it has.
        scansione_->annulla();
        rinviata_ = true;
        return;
    }
    avviso_.clear();
    const Filtro filtro = filtroAttuale();
    if (filtro.vuoto() && ordineChiesto_ == Ordine{}) {
        ordine_ = ordineChiesto_;
        modello_->cambiaElenco([](ElencoVersamenti& e) { e.togliFiltro(); });
        aggiornaStato();
        return;
    }
    // The scan shares the file and its result with this window, never the window
    // itself: it may outlive neither, and touches nothing else.
    auto risultato = std::make_shared<std::optional<Esito<std::vector<std::uint32_t>>>>();
    risultato_ = risultato;
    filtroScansione_ = !filtro.vuoto();
    scansione_ = std::make_unique<Lavoro>(
        [archivio = modello_->archivio(), filtro, ordine = ordineChiesto_, risultato](Lavoro& l) {
            *risultato = righeElenco(*archivio, filtro, ordine, l.controllo());
        });
    connect(scansione_.get(), &Lavoro::avanzato, progresso_, [this](Lavoro::Stato s) {
        progresso_->setValue(s.totale == 0 ? 0 : static_cast<int>(s.fatti * 100 / s.totale));
    });
    connect(scansione_.get(), &Lavoro::terminato, this, &FinestraElenco::scansioneFinita);
    progresso_->setValue(0);
    progresso_->setVisible(true);
    annulla_->setVisible(true);
    scansione_->avvia();
    aggiornaStato();
}

void FinestraElenco::annulla() {
    if (scansione_) {
        rinviata_ = false;
        annullata_ = true;
        scansione_->annulla();
    }
}

void FinestraElenco::scansioneFinita() {
    Esito<std::vector<std::uint32_t>> esito = esitoDi(*scansione_, std::move(*risultato_));
    // Annulla pressed before the result reached the window: the scan may have
    // ended first, but the clerk asked for the list as it was.
    if (annullata_) {
        annullata_ = false;
        esito = Errore{CodiceErrore::Annullato, {}, {}};
    }
    // Deleted once this signal has returned: its sender is the runner.
    scansione_.release()->deleteLater();
    risultato_.reset();
    progresso_->setVisible(false);
    annulla_->setVisible(false);
    if (rinviata_) {
        rinviata_ = false;
        avvia();
        return;
    }
    if (esito) {
        ordine_ = ordineChiesto_;
        const bool filtrato = filtroScansione_;
        modello_->cambiaElenco([&esito, filtrato](ElencoVersamenti& e) {
            e.applicaRighe(std::move(*esito), filtrato);
        });
    } else {
        // The list stays as it was, and so does the arrow of its order.
        ordineChiesto_ = ordine_;
        mostraOrdine(ordine_);
        avviso_ = esito.errore().codice == CodiceErrore::Annullato
                      ? QStringLiteral("Annullato: l'elenco è rimasto com'era")
                      : QStringLiteral("Filtro o ordinamento non riuscito: ") +
                            QString::fromStdString(esito.errore().descrizione());
    }
    aggiornaStato();
}

void FinestraElenco::aggiornaStato() {
    const QLocale locale;
    const ElencoVersamenti& e = modello_->elenco();
    QString testo;
    if (!avviso_.isEmpty()) {
        testo = avviso_;
    } else if (scansione_) {
        testo = filtroScansione_ ? QStringLiteral("Ricerca in corso…")
                                 : QStringLiteral("Ordinamento in corso…");
    } else if (e.filtrato()) {
        testo = QStringLiteral("Versamenti: %1 di %2")
                    .arg(locale.toString(static_cast<qulonglong>(e.righe())),
                         locale.toString(static_cast<qulonglong>(e.versamenti())));
    } else {
        testo = QStringLiteral("Versamenti: %1")
                    .arg(locale.toString(static_cast<qulonglong>(e.versamenti())));
    }
    if (!scansione_ && ordine_ != Ordine{}) {
        testo +=
            QStringLiteral(" · ordinati per %1, %2")
                .arg(daUtf8(
                         kIntestazioniElenco[static_cast<std::size_t>(sezioneDi(ordine_.colonna))]),
                     ordine_.discendente ? QStringLiteral("in ordine decrescente")
                                         : QStringLiteral("in ordine crescente"));
    }
    if (e.ultimoIncompleto()) {
        testo += QStringLiteral(" · l'ultimo record del file è incompleto e non è elencato");
    }
    if (!annoFiltroValido(filtroAnno_->text().toStdString())) {
        testo += QStringLiteral(" · l'anno va scritto con due o quattro cifre");
    }
    stato_->setText(testo);
}

void FinestraElenco::copia() {
    const std::vector<TrattoRighe> tratti = tabella_->selezione();
    std::uint64_t quante = 0;
    for (const TrattoRighe& t : tratti) {
        quante += t.second - t.first + 1;
    }
    if (quante > kMassimoRigheCopiate) {
        dialoghi_.messaggio(
            QStringLiteral("Si possono copiare al massimo %1 righe alla volta.")
                .arg(QLocale().toString(static_cast<qulonglong>(kMassimoRigheCopiate))),
            QStringLiteral("Elenco versamenti"), Pulsanti::ok, Icona::esclamazione);
        return;
    }
    // The ranges ascend, and so the rows are copied in the order shown.
    std::vector<std::uint64_t> righe;
    righe.reserve(static_cast<std::size_t>(quante));
    for (const TrattoRighe& t : tratti) {
        for (std::uint64_t r = t.first; r <= t.second; ++r) {
            righe.push_back(r);
        }
    }
    QApplication::clipboard()->setText(
        QString::fromStdString(modello_->elenco().copiaTabulata(righe)));
}

}  // namespace pliventa
