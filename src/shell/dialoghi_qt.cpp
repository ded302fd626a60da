#include "shell/dialoghi_qt.h"

#include <QDesktopServices>
#include <QEventLoop>
#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QUrl>
#include <algorithm>
#include <limits>

#include "shell/lavoro.h"

namespace pliventa {

namespace {

QMessageBox::Icon iconaQt(Icona icona) {
    switch (icona) {
        case Icona::informazione:
            return QMessageBox::Information;
        case Icona::esclamazione:
            return QMessageBox::Warning;
        case Icona::critica:
            return QMessageBox::Critical;
        case Icona::domanda:
            return QMessageBox::Question;
        case Icona::nessuna:
            break;
    }
    return QMessageBox::NoIcon;
}

// Message texts break lines with CR LF, as the program has always written them.
QString perSchermo(QString testo) {
    return testo.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// Beside a title, the title bar holds the window's icon and its buttons; window
// managers cut a title that does not fit with them.
constexpr int kSpazioBarraTitolo = 120;
// The gap between a box and the area it leaves visible.
constexpr int kDistacco = 8;

// A box no narrower than its title: written in bold, as title bars mostly are,
// with room for the title bar's icon and buttons.
void spazioPerIlTitolo(QMessageBox& box) {
    QFont grassetto = box.font();
    grassetto.setBold(true);
    const int larghezza =
        QFontMetrics(grassetto).horizontalAdvance(box.windowTitle()) + kSpazioBarraTitolo;
    if (auto* griglia = qobject_cast<QGridLayout*>(box.layout())) {
        griglia->addItem(new QSpacerItem(larghezza, 0, QSizePolicy::Fixed, QSizePolicy::Fixed),
                         griglia->rowCount(), 0, 1, griglia->columnCount());
    }
}

// The decorations around a window's client area. A box's own are known only once
// it is on screen: those of the window it belongs to stand for them.
QMargins cornice(const QWidget* finestra) {
    if (finestra == nullptr) {
        return {};
    }
    const QRect esterno = finestra->frameGeometry();
    const QRect interno = finestra->geometry();
    return {interno.left() - esterno.left(), interno.top() - esterno.top(),
            esterno.right() - interno.right(), esterno.bottom() - interno.bottom()};
}

// Where a window of `dimensioni` (decorations included) covers the least of `area`
// while staying on `schermo`: beside it on the right, on the left, below, above; the
// first side wins among those that cover it equally.
QPoint fuoriDa(const QRect& area, const QSize& dimensioni, const QRect& schermo) {
    const QPoint lati[] = {
        {area.right() + 1 + kDistacco, area.top()},
        {area.left() - kDistacco - dimensioni.width(), area.top()},
        {area.left(), area.bottom() + 1 + kDistacco},
        {area.left(), area.top() - kDistacco - dimensioni.height()},
    };
    QPoint scelto = lati[0];
    qint64 minimo = std::numeric_limits<qint64>::max();
    for (QPoint p : lati) {
        p.setX(std::clamp(p.x(), schermo.left(),
                          std::max(schermo.left(), schermo.right() + 1 - dimensioni.width())));
        p.setY(std::clamp(p.y(), schermo.top(),
                          std::max(schermo.top(), schermo.bottom() + 1 - dimensioni.height())));
        const QRect coperto = QRect(p, dimensioni).intersected(area);
        const qint64 quanto = coperto.isEmpty() ? 0 : qint64{coperto.width()} * coperto.height();
        if (quanto < minimo) {
            minimo = quanto;
            scelto = p;
        }
    }
    return scelto;
}

// A message box that, once sized, moves off an area of the screen: QMessageBox
// knows its size only when it is shown, and it is put in place before it appears.
class Riquadro : public QMessageBox {
public:
    Riquadro(Icon icona, const QString& titolo, const QString& testo, QWidget* genitore,
             const QRect& lasciaVisibile)
        : QMessageBox(icona, titolo, testo, NoButton, genitore), area_(lasciaVisibile) {}

protected:
    void showEvent(QShowEvent* evento) override {
        QMessageBox::showEvent(evento);  // sizes the box and centres it on its window
        if (area_.isEmpty()) {
            return;
        }
        const QWidget* finestra = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
        const QScreen* schermo = QGuiApplication::screenAt(area_.center());
        if (schermo == nullptr) {
            schermo = screen();
        }
        // move() places a window by its decorations' corner.
        move(fuoriDa(area_, size().grownBy(cornice(finestra)), schermo->availableGeometry()));
    }

private:
    QRect area_;
};

// The extension of a type "Descrizione (*.ext)", without the dot; empty if none.
QString estensione(const QString& tipo) {
    return QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(tipo).captured(1);
}

// A save dialog whose default extension follows the type chosen: a name typed
// without one gets it before the dialog looks for a file to replace.
class Salvataggio : public QFileDialog {
public:
    Salvataggio(QWidget* genitore, const QString& titolo) : QFileDialog(genitore, titolo) {}

    void accept() override {
        setDefaultSuffix(estensione(selectedNameFilter()));
        QFileDialog::accept();
    }
};

}  // namespace

Risposta DialoghiQt::messaggio(const QString& testo, const QString& titolo, Pulsanti pulsanti,
                               Icona icona, const QRect& lasciaVisibile) {
    Riquadro box(iconaQt(icona), titolo, perSchermo(testo), genitore_, lasciaVisibile);
    if (pulsanti == Pulsanti::siNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("&Sì"));
        box.button(QMessageBox::No)->setText(QStringLiteral("&No"));
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        spazioPerIlTitolo(box);
        return box.exec() == QMessageBox::Yes ? Risposta::si : Risposta::no;
    }
    box.setStandardButtons(QMessageBox::Ok);
    spazioPerIlTitolo(box);
    box.exec();
    return Risposta::ok;
}

QString DialoghiQt::input(const QString& prompt, const QString& titolo,
                          const QString& predefinito) {
    QInputDialog box(genitore_);
    box.setInputMode(QInputDialog::TextInput);
    box.setWindowTitle(titolo);
    box.setLabelText(prompt);
    box.setTextValue(predefinito);
    box.setOkButtonText(QStringLiteral("OK"));
    box.setCancelButtonText(QStringLiteral("Annulla"));
    box.resize(520, box.sizeHint().height());  // room for a whole path
    if (box.exec() != QDialog::Accepted) {
        return {};
    }
    return box.textValue();
}

FileScelto DialoghiQt::salvaCome(const QString& titolo, const QString& proposta,
                                 const QString& filtro) {
    const QStringList tipi = filtro.split(QStringLiteral(";;"));
    Salvataggio box(genitore_, titolo);
    box.setAcceptMode(QFileDialog::AcceptSave);
    box.setFileMode(QFileDialog::AnyFile);
    box.setNameFilters(tipi);
    box.selectFile(proposta);
    box.setLabelText(QFileDialog::Accept, QStringLiteral("&Salva"));
    box.setLabelText(QFileDialog::Reject, QStringLiteral("Annulla"));
    box.setLabelText(QFileDialog::FileName, QStringLiteral("Nome del file:"));
    box.setLabelText(QFileDialog::FileType, QStringLiteral("Tipo di file:"));
    box.setLabelText(QFileDialog::LookIn, QStringLiteral("Salva in:"));
    if (box.exec() != QDialog::Accepted) {
        return {};
    }
    // Again for a dialog of the desktop, which answers without accept().
    box.setDefaultSuffix(estensione(box.selectedNameFilter()));
    if (box.selectedFiles().isEmpty()) {
        return {};
    }
    FileScelto scelto{
        box.selectedFiles().constFirst(),
        static_cast<int>(std::max<qsizetype>(0, tipi.indexOf(box.selectedNameFilter())))};
    // The name says what the file is: "riepilogo.csv" is written as CSV whatever
    // the type left in the list.
    for (int i = 0; i < tipi.size(); ++i) {
        const QString e = estensione(tipi[i]);
        if (!e.isEmpty() && scelto.percorso.endsWith(u'.' + e, Qt::CaseInsensitive)) {
            scelto.tipo = i;
        }
    }
    return scelto;
}

bool DialoghiQt::apriDocumento(const QString& percorso) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(percorso));
}

bool DialoghiQt::scegliStampante(const QString& titolo, QPrinter& stampante) {
    QPrintDialog dialogo(&stampante, genitore_);
    dialogo.setWindowTitle(titolo);
    return dialogo.exec() == QDialog::Accepted;
}

std::unique_ptr<Dialoghi> DialoghiQt::figli(QWidget* finestra) {
    return std::make_unique<DialoghiQt>(finestra);
}

void DialoghiQt::attendi(Lavoro& lavoro, const QString& titolo, const QStringList& fasi) {
    QProgressDialog box(genitore_);
    box.setWindowTitle(titolo);
    box.setWindowModality(Qt::WindowModal);
    box.setCancelButtonText(QStringLiteral("Annulla"));
    box.setAutoClose(false);
    box.setAutoReset(false);
    box.setMinimumDuration(500);
    box.setMinimumWidth(420);
    box.setLabelText(fasi.value(0));
    box.setRange(0, 0);
    QObject::connect(&box, &QProgressDialog::canceled, &box, [&] {
        lavoro.annulla();
        box.setLabelText(QStringLiteral("Annullamento in corso…"));
        box.show();  // a cancelled dialog hides itself; it stays until the work ends
    });

    QEventLoop ciclo;
    QObject::connect(&lavoro, &Lavoro::terminato, &ciclo, &QEventLoop::quit);
    QObject::connect(&lavoro, &Lavoro::avanzato, &box, [&](Lavoro::Stato s) {
        if (lavoro.annullato()) {
            return;
        }
        box.setLabelText(fasi.value(s.fase));
        // QProgressBar counts in int: large totals are shown in thousandths.
        if (s.totale == 0) {
            box.setRange(0, 0);
        } else {
            box.setRange(0, 1000);
            box.setValue(static_cast<int>(s.fatti * 1000 / s.totale));
        }
    });
    // terminato() is queued: it reaches the loop even when the work ends at once.
    lavoro.avvia();
    ciclo.exec();
    lavoro.aspetta();
}

}  // namespace pliventa
