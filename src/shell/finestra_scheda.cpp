#include "shell/finestra_scheda.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>
#include <vector>

#include "base/testo.h"
#include "checks/controlli.h"
#include "checks/duplicati.h"
#include "shell/viste.h"

namespace pliventa {

namespace {

const QString kTitolo = QStringLiteral("Scheda contribuente");

// The columns of the summary by tax year, with the payment's date after the kind.
constexpr int kColonnaData = 2;
constexpr int kRuoloNumero = Qt::UserRole;

/// The first payment of each duplicate key met so far, in file order.
using Visti = std::vector<std::pair<ChiaveDuplicato, std::uint64_t>>;

/// The anomalies of payment `n`, `v`, by name. A copy repeats an earlier payment
/// of the same taxpayer, year and kind: of the same group, which lists them in
/// file order, so `visti` holds its first.
QStringList anomalieDi(const Versamento& v, std::uint64_t n, Visti& visti) {
    QStringList regole;
    const Violazioni violate = controlla(v);
    for (const Regola r : kRegole) {
        if (viola(violate, r)) {
            regole << daUtf8(descrizioneRegola(r));
        }
    }
    const ChiaveDuplicato chiave = chiaveDuplicato(v);
    const auto primo =
        std::find_if(visti.begin(), visti.end(), [&](const auto& x) { return x.first == chiave; });
    if (primo != visti.end()) {
        regole << daUtf8(descrizioneRegola(Regola::duplicato)) +
                      QStringLiteral(" (uguale al versamento %1)").arg(primo->second);
    } else {
        visti.emplace_back(chiave, n);
    }
    return regole;
}

}  // namespace

FinestraScheda::FinestraScheda(std::shared_ptr<const ArchivioLavoro> archivio,
                               const QString& codice, Riepilogo scheda, const QString& valuta,
                               QWidget* genitore)
    : QWidget(genitore),
      archivio_(std::move(archivio)),
      scheda_(std::move(scheda)),
      valuta_(valuta) {
    preparaVista(this, QStringLiteral("FinestraScheda"), kTitolo, archivio_->percorso());
    auto* intestazione = new QLabel(QStringLiteral("Codice fiscale: ") + codice, this);
    intestazione->setObjectName(QStringLiteral("codiceScheda"));
    auto* chiudi = new QPushButton(QStringLiteral("&Chiudi"), this);
    chiudi->setObjectName(QStringLiteral("cmdChiudi"));
    chiudi->setAutoDefault(false);
    auto* barra = new QHBoxLayout;
    barra->addWidget(intestazione);
    barra->addStretch(1);
    barra->addWidget(chiudi);

    albero_ = new QTreeWidget(this);
    albero_->setObjectName(QStringLiteral("alberoScheda"));
    albero_->setAccessibleName(kTitolo);
    albero_->setUniformRowHeights(true);
    albero_->setToolTip(QStringLiteral("Doppio clic su un versamento per mostrarlo"));
    stato_ = new QLabel(this);
    stato_->setObjectName(QStringLiteral("statoScheda"));
    auto* colonna = new QVBoxLayout(this);
    colonna->addLayout(barra);
    colonna->addWidget(albero_, 1);
    colonna->addWidget(stato_);
    resize(1000, 500);

    connect(chiudi, &QPushButton::clicked, this, &QWidget::close);
    connect(albero_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* riga, int) { scelto(riga); });
    mostra();
}

void FinestraScheda::impostaValuta(const QString& valuta) {
    valuta_ = valuta;
    mostra();
}

void FinestraScheda::scelto(QTreeWidgetItem* riga) {
    const QVariant numero = riga->data(0, kRuoloNumero);
    if (numero.isValid()) {
        emit versamentoScelto(numero.toULongLong());
    }
}

void FinestraScheda::mostra() {
    const std::vector<std::string_view> intestazioni = intestazioniRiepilogo(Raggruppamento::anno);
    QStringList testate;
    for (std::string_view i : intestazioni) {
        testate << daUtf8(i);
    }
    testate[0] = QStringLiteral("Anno / versamento");
    testate.insert(kColonnaData, QStringLiteral("Data versamento"));
    albero_->clear();
    albero_->setColumnCount(static_cast<int>(testate.size()));
    albero_->setHeaderLabels(testate);

    const std::string valuta = valuta_.toStdString();
    const Separatori sep = separatoriDelLocale();
    const QLocale locale;
    // A row's cells from the kind's column on: counts, amounts, anomalies.
    const auto riempi = [&](QTreeWidgetItem* riga, const GruppoRiepilogo& g, bool conteggi) {
        int c = kColonnaData + 1;
        const auto metti = [&](const QString& testo) {
            riga->setText(c, testo);
            riga->setTextAlignment(c++, Qt::AlignRight | Qt::AlignVCenter);
        };
        metti(conteggi ? locale.toString(static_cast<qulonglong>(g.versamenti)) : QString());
        metti(conteggi ? locale.toString(static_cast<qulonglong>(g.violazioni)) : QString());
        for (const SommaEsatta& s : importiRiepilogo(g)) {
            metti(daUtf8(formattaImporto(s.valore(1), valuta, sep)));
        }
        metti(locale.toString(static_cast<qulonglong>(g.anomalie)));
    };
    const int anomalie = static_cast<int>(testate.size()) - 1;
    Visti visti;
    for (const GruppoRiepilogo& g : scheda_.per(Raggruppamento::anno)) {
        auto* gruppo = new QTreeWidgetItem(albero_);
        gruppo->setText(0, daUtf8(daCp1252(g.chiave)));
        gruppo->setText(1, QString(QChar::fromLatin1(g.tipo)));
        riempi(gruppo, g, true);
        for (const std::uint64_t n : g.record) {
            auto* riga = new QTreeWidgetItem(gruppo);
            riga->setText(0, QStringLiteral("N. ") + locale.toString(static_cast<qulonglong>(n)));
            riga->setData(0, kRuoloNumero, QVariant::fromValue<qulonglong>(n));
            const Esito<Versamento> v = archivio_->leggirecord(static_cast<double>(n));
            if (!v) {
                riga->setText(kColonnaData, daUtf8(v.errore().descrizione()));
                continue;
            }
            riga->setText(1, QString(QChar::fromLatin1(g.tipo)));
            riga->setText(kColonnaData, daUtf8(daCp1252(v->dataVersamento())));
            riempi(riga, gruppoDi(*v), false);
            const QStringList regole = anomalieDi(*v, n, visti);
            riga->setText(anomalie, regole.join(QStringLiteral("; ")));
            riga->setTextAlignment(anomalie, Qt::AlignLeft | Qt::AlignVCenter);
            riga->setForeground(anomalie, QBrush(Qt::darkRed));
        }
    }
    albero_->expandAll();
    for (int c = 0; c < albero_->columnCount(); ++c) {
        albero_->resizeColumnToContents(c);
    }
    const std::uint64_t versamenti = scheda_.totale.versamenti;
    stato_->setText(versamenti == 0 ? QStringLiteral("Nessun versamento con questo codice fiscale")
                                    : QStringLiteral("Versamenti: %1 · totale: %2")
                                          .arg(locale.toString(static_cast<qulonglong>(versamenti)),
                                               daUtf8(formattaImporto(
                                                   importiRiepilogo(scheda_.totale)[0].valore(1),
                                                   valuta, sep))));
}

}  // namespace pliventa
