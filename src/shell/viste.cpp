#include "shell/viste.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <algorithm>

#include "base/testo.h"

namespace pliventa {

void preparaVista(QWidget* vista, const QString& nome, const QString& titolo,
                  const std::string& archivio) {
    vista->setObjectName(nome);
    vista->setWindowFlag(Qt::Window);
    vista->setAttribute(Qt::WA_DeleteOnClose);
    const QString file = QFileInfo(QString::fromStdString(archivio)).fileName();
    vista->setWindowTitle(file.isEmpty() ? titolo : titolo + QStringLiteral(" - ") + file);
}

Separatori separatoriDelLocale() {
    const QLocale locale;
    return Separatori{locale.groupSeparator().toStdString(), locale.decimalPoint().toStdString()};
}

QString righeSelezionate(const QTableView* tabella) {
    const QAbstractItemModel* modello = tabella->model();
    QModelIndexList righe = tabella->selectionModel()->selectedRows();
    std::sort(righe.begin(), righe.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QString testo;
    for (const QModelIndex& riga : righe) {
        for (int c = 0; c < modello->columnCount(); ++c) {
            if (c > 0) {
                testo += u'\t';
            }
            // Numbers are aligned to the right: the other cells are text, which
            // may begin like a formula the spreadsheet it is pasted in would run.
            const QModelIndex cella = modello->index(riga.row(), c);
            const QString scritto = cella.data().toString();
            testo += (cella.data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight) != 0
                         ? scritto
                         : QString::fromStdString(testoNonFormula(scritto.toStdString()));
        }
        testo += u'\n';
    }
    return testo;
}

void copiaRighe(const QTableView* tabella) {
    QApplication::clipboard()->setText(righeSelezionate(tabella));
}

namespace {

class FiltroCopia : public QObject {
public:
    FiltroCopia(QObject* genitore, std::function<void()> copia)
        : QObject(genitore), copia_(std::move(copia)) {}

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override {
        if (evento->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(evento)->matches(QKeySequence::Copy)) {
            copia_();
            return true;
        }
        return QObject::eventFilter(oggetto, evento);
    }

private:
    std::function<void()> copia_;
};

}  // namespace

void abilitaCopia(QTableView* tabella, std::function<void()> copia) {
    tabella->installEventFilter(new FiltroCopia(tabella, std::move(copia)));
}

void adattaLarghezza(QWidget* vista, const QTableView* tabella) {
    int larghezza = 2 * tabella->frameWidth() + tabella->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < tabella->model()->columnCount(); ++c) {
        larghezza += tabella->columnWidth(c);
    }
    larghezza += vista->width() - tabella->width();  // the window's margins
    if (const QScreen* schermo = vista->screen()) {
        larghezza = std::min(larghezza, schermo->availableGeometry().width() * 9 / 10);
    }
    vista->resize(std::max(larghezza, vista->minimumSizeHint().width()), vista->height());
}

void adattaColonna(QTableView* tabella, int colonna, const QString& campione) {
    // A cell's text has the focus frame's margin and one pixel on either side.
    const int margine = 2 * (tabella->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 2);
    const int larghezza = std::max({tabella->columnWidth(colonna),
                                    tabella->fontMetrics().horizontalAdvance(campione) + margine,
                                    tabella->horizontalHeader()->sectionSizeHint(colonna)});
    tabella->setColumnWidth(colonna, larghezza);
}

QString codiceLarghissimo(const QFontMetrics& metrica) {
    QChar largo = u'0';
    for (const QChar c : QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789")) {
        if (metrica.horizontalAdvance(c) > metrica.horizontalAdvance(largo)) {
            largo = c;
        }
    }
    return QString(16, largo);
}

QPushButton* pulsanteChiudi(QWidget* vista, const QString& testo) {
    auto* chiudi = new QPushButton(testo, vista);
    chiudi->setObjectName(QStringLiteral("cmdChiudi"));
    chiudi->setAutoDefault(false);
    QObject::connect(chiudi, &QPushButton::clicked, vista, &QWidget::close);
    return chiudi;
}

void preparaTabella(QTableView* tabella, const QString& nome) {
    tabella->setObjectName(nome);
    tabella->setSelectionBehavior(QAbstractItemView::SelectRows);
    tabella->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tabella->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabella->setSortingEnabled(false);
    tabella->setWordWrap(false);
    tabella->verticalHeader()->setVisible(false);
    // Rows of one height, set once: the view then never measures the rows of a
    // file of millions of payments.
    tabella->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tabella->verticalHeader()->setDefaultSectionSize(tabella->fontMetrics().height() + 6);
    tabella->horizontalHeader()->setHighlightSections(false);
}

}  // namespace pliventa
