#include "shell/finestra_riepilogo.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "base/testo.h"
#include "export/riepilogo_libro.h"
#include "shell/dialoghi.h"
#include "shell/viste.h"
#include "summary/tabella.h"

namespace pliventa {

namespace {

const QString kTitolo = QStringLiteral("Riepilogo");

// The types "Salva…" offers, in this order.
const QString kFiltroSalva = QStringLiteral("Cartella di lavoro Excel (*.xlsx);;File CSV (*.csv)");
constexpr int kTipoCsv = 1;

QPushButton* pulsante(QWidget* genitore, const QString& nome, const QString& testo) {
    auto* p = new QPushButton(testo, genitore);
    p->setObjectName(nome);
    p->setAutoDefault(false);
    return p;
}

}  // namespace

FinestraRiepilogo::FinestraRiepilogo(Riepilogo riepilogo, const std::string& archivio,
                                     const QString& valuta, Dialoghi& dialoghi, QWidget* genitore)
    : QWidget(genitore),
      dialoghi_(this, dialoghi),
      riepilogo_(std::move(riepilogo)),
      valuta_(valuta) {
    preparaVista(this, QStringLiteral("FinestraRiepilogo"), kTitolo, archivio);
    scelta_ = new QComboBox(this);
    scelta_->setObjectName(QStringLiteral("raggruppamento"));
    scelta_->setAccessibleName(QStringLiteral("Raggruppamento"));
    // In the order of Raggruppamento.
    scelta_->addItems({QStringLiteral("Per anno d'imposta e tipo"),
                       QStringLiteral("Per mese di versamento"), QStringLiteral("Per comune")});
    auto* salva = pulsante(this, QStringLiteral("cmdSalva"), QStringLiteral("&Salva…"));
    auto* copia = pulsante(this, QStringLiteral("cmdCopia"), QStringLiteral("C&opia"));
    auto* chiudi = pulsante(this, QStringLiteral("cmdChiudi"), QStringLiteral("&Chiudi"));
    auto* barra = new QHBoxLayout;
    barra->addWidget(scelta_);
    barra->addStretch(1);
    barra->addWidget(salva);
    barra->addWidget(copia);
    barra->addWidget(chiudi);

    tabella_ = new QTableWidget(this);
    preparaTabella(tabella_, QStringLiteral("tabellaRiepilogo"));
    stato_ = new QLabel(this);
    stato_->setObjectName(QStringLiteral("statoRiepilogo"));
    auto* colonna = new QVBoxLayout(this);
    colonna->addLayout(barra);
    colonna->addWidget(tabella_, 1);
    colonna->addWidget(stato_);
    resize(1000, 500);

    connect(scelta_, &QComboBox::currentIndexChanged, this, &FinestraRiepilogo::mostra);
    connect(salva, &QPushButton::clicked, this, &FinestraRiepilogo::salva);
    connect(copia, &QPushButton::clicked, this, &FinestraRiepilogo::copia);
    connect(chiudi, &QPushButton::clicked, this, &QWidget::close);
    mostra();
}

void FinestraRiepilogo::impostaValuta(const QString& valuta) {
    valuta_ = valuta;
    mostra();
}

Raggruppamento FinestraRiepilogo::raggruppamento() const {
    return kRaggruppamenti[static_cast<std::size_t>(std::max(0, scelta_->currentIndex()))];
}

bool FinestraRiepilogo::euro() const {
    return valuta_ == u"E";
}

void FinestraRiepilogo::mostra() {
    const Raggruppamento r = raggruppamento();
    const std::vector<std::string_view> intestazioni = intestazioniRiepilogo(r);
    const std::vector<GruppoRiepilogo>& gruppi = riepilogo_.per(r);
    const std::string valuta = valuta_.toStdString();
    const Separatori sep = separatoriDelLocale();
    const QLocale locale;
    const bool perAnno = r == Raggruppamento::anno;

    tabella_->clear();
    tabella_->setColumnCount(static_cast<int>(intestazioni.size()));
    tabella_->setRowCount(static_cast<int>(gruppi.size()) + 1);
    QStringList testate;
    for (std::string_view i : intestazioni) {
        testate << daUtf8(i);
    }
    tabella_->setHorizontalHeaderLabels(testate);
    const auto riga = [&](int n, const GruppoRiepilogo& g, const QString& chiave) {
        int c = 0;
        const auto metti = [&](const QString& testo, bool numero) {
            auto* cella = new QTableWidgetItem(testo);
            if (numero) {
                cella->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            tabella_->setItem(n, c++, cella);
        };
        metti(chiave, false);
        if (perAnno) {
            metti(g.tipo == '\0' ? QString() : QString(QChar::fromLatin1(g.tipo)), false);
        }
        metti(locale.toString(static_cast<qulonglong>(g.versamenti)), true);
        metti(locale.toString(static_cast<qulonglong>(g.violazioni)), true);
        for (const SommaEsatta& s : importiRiepilogo(g)) {
            metti(daUtf8(formattaImporto(s.valore(1), valuta, sep)), true);
        }
        metti(locale.toString(static_cast<qulonglong>(g.anomalie)), true);
    };
    int n = 0;
    for (const GruppoRiepilogo& g : gruppi) {
        riga(n++, g, daUtf8(daCp1252(g.chiave)));
    }
    riga(n, riepilogo_.totale, daUtf8(kTotaleGenerale));
    for (int c = 0; c < tabella_->columnCount(); ++c) {
        QFont grassetto = tabella_->item(n, c)->font();
        grassetto.setBold(true);
        tabella_->item(n, c)->setFont(grassetto);
    }
    tabella_->resizeColumnsToContents();
    adattaLarghezza(this, tabella_);
    QString testo =
        QStringLiteral("Gruppi: %1 · versamenti: %2")
            .arg(gruppi.size())
            .arg(locale.toString(static_cast<qulonglong>(riepilogo_.totale.versamenti)));
    if (riepilogo_.parziale) {
        testo += QStringLiteral(" · ultimo record incompleto, escluso");
    }
    stato_->setText(testo);
}

void FinestraRiepilogo::salva() {
    const Raggruppamento r = raggruppamento();
    const QString nome = daUtf8(nomeFoglioRiepilogo(r));
    const FileScelto scelto =
        dialoghi_.salvaCome(QStringLiteral("Salva riepilogo"),
                            QDir::current().filePath(nome + QStringLiteral(".xlsx")), kFiltroSalva);
    if (scelto.percorso.isEmpty()) {
        return;
    }
    const std::string destinazione = QFile::encodeName(scelto.percorso).toStdString();
    const EsitoVuoto salvato = scelto.tipo == kTipoCsv
                                   ? salvaCsv(riepilogo_, r, euro(), destinazione)
                                   : salvaRiepilogoExcel(riepilogo_, r, euro(), destinazione);
    if (!salvato) {
        dialoghi_.messaggio(QStringLiteral("Impossibile salvare il riepilogo.\r\n") +
                                QString::fromStdString(salvato.errore().descrizione()),
                            kTitolo, Pulsanti::ok, Icona::esclamazione);
        return;
    }
    stato_->setText(QStringLiteral("Riepilogo salvato: ") + scelto.percorso);
}

void FinestraRiepilogo::copia() {
    QApplication::clipboard()->setText(
        QString::fromStdString(testoCsv(riepilogo_, raggruppamento(), euro(), '\t')));
}

}  // namespace pliventa
