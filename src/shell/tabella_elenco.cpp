#include "shell/tabella_elenco.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableView>
#include <QWheelEvent>
#include <algorithm>
#include <limits>

#include "shell/modello_elenco.h"

namespace pliventa {

namespace {

// Rows a notch of the mouse wheel scrolls, as in every other list of the desktop.
constexpr int kRighePerScatto = 3;
constexpr int kScatto = 120;  // a notch, in eighths of a degree

}  // namespace

TabellaElenco::TabellaElenco(ModelloElenco* modello, QWidget* genitore)
    : QWidget(genitore), modello_(modello) {
    modello_->setParent(this);
    vista_ = new QTableView(this);
    vista_->setModel(modello_);
    // The view scrolls sideways only: up and down, the rows it holds change.
    vista_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    vista_->setAutoScroll(false);
    barra_ = new QScrollBar(Qt::Vertical, this);
    barra_->setObjectName(QStringLiteral("barraElenco"));
    auto* riga = new QHBoxLayout(this);
    riga->setContentsMargins(0, 0, 0, 0);
    riga->setSpacing(0);
    riga->addWidget(vista_, 1);
    riga->addWidget(barra_);

    vista_->installEventFilter(this);
    vista_->viewport()->installEventFilter(this);
    connect(barra_, &QScrollBar::valueChanged, this, [this](int valore) {
        const auto passo = static_cast<std::uint64_t>(valore);
        mostraDa(valore == barra_->maximum() ? inizioMassimo() : passo * scala_);
    });
    connect(modello_, &ModelloElenco::elencoCambiato, this, &TabellaElenco::elencoCambiato);
    elencoCambiato();
}

std::optional<std::uint64_t> TabellaElenco::corrente() const {
    if (modello_->elenco().righe() == 0) {
        return std::nullopt;
    }
    return corrente_;
}

void TabellaElenco::vaiA(std::uint64_t riga) {
    if (riga < modello_->elenco().righe()) {
        sposta(riga, false);
    }
}

bool TabellaElenco::eventFilter(QObject* oggetto, QEvent* evento) {
    if (oggetto == vista_ && evento->type() == QEvent::KeyPress) {
        return tasto(static_cast<const QKeyEvent&>(*evento));
    }
    if (oggetto != vista_->viewport()) {
        return false;
    }
    switch (evento->type()) {
        case QEvent::Resize:
            misura();
            return false;
        case QEvent::Wheel:
            rotella(static_cast<const QWheelEvent&>(*evento));
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            return mouse(static_cast<const QMouseEvent&>(*evento));
        default:
            return false;
    }
}

bool TabellaElenco::tasto(const QKeyEvent& e) {
    const std::uint64_t righe = modello_->elenco().righe();
    if (e.matches(QKeySequence::SelectAll)) {
        selezione_.tutte(righe);
        proietta();
        return true;
    }
    const bool ctrl = (e.modifiers() & Qt::ControlModifier) != 0;
    const bool shift = (e.modifiers() & Qt::ShiftModifier) != 0;
    const auto pagina = static_cast<std::uint64_t>(altezza_);
    const int ultimaColonna = modello_->columnCount() - 1;
    std::optional<std::uint64_t> meta;
    switch (e.key()) {
        case Qt::Key_Up:
            meta = corrente_ > 0 ? corrente_ - 1 : 0;
            break;
        case Qt::Key_Down:
            meta = corrente_ + 1;
            break;
        case Qt::Key_PageUp:
            meta = corrente_ - std::min(corrente_, pagina);
            break;
        case Qt::Key_PageDown:
            meta = corrente_ + pagina;
            break;
        case Qt::Key_Home:
        case Qt::Key_End:
            // With Ctrl, the first or last row; alone, the first or last column.
            if (ctrl) {
                meta = e.key() == Qt::Key_Home ? 0 : std::numeric_limits<std::uint64_t>::max();
                break;
            }
            colonna_ = e.key() == Qt::Key_Home ? 0 : ultimaColonna;
            proietta();
            return true;
        case Qt::Key_Left:
        case Qt::Key_Right:
            colonna_ = std::clamp(colonna_ + (e.key() == Qt::Key_Left ? -1 : 1), 0, ultimaColonna);
            proietta();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (righe > 0) {
                emit rigaAttivata(corrente_);
            }
            return true;
        default:
            // Typing would make the view jump to a row it holds by its text: within a
            // screenful that finds nothing worth finding.
            return e.key() >= Qt::Key_Space && e.key() <= Qt::Key_AsciiTilde &&
                   (e.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0;
    }
    if (righe > 0) {
        sposta(std::min(*meta, righe - 1), shift);
    }
    return true;
}

bool TabellaElenco::mouse(const QMouseEvent& e) {
    switch (e.type()) {
        case QEvent::MouseButtonPress:
            return premuto(e);
        case QEvent::MouseMove:
            return trascinato(e);
        case QEvent::MouseButtonRelease:
            trascina_ = false;
            return e.button() == Qt::LeftButton;
        case QEvent::MouseButtonDblClick:
            if (const QModelIndex sotto = vista_->indexAt(e.position().toPoint());
                e.button() == Qt::LeftButton && sotto.isValid()) {
                emit rigaAttivata(modello_->inizio() + static_cast<std::uint64_t>(sotto.row()));
            }
            return true;
        default:
            return false;
    }
}

bool TabellaElenco::premuto(const QMouseEvent& e) {
    if (e.button() != Qt::LeftButton && e.button() != Qt::RightButton) {
        return false;
    }
    vista_->setFocus(Qt::MouseFocusReason);
    const QModelIndex sotto = vista_->indexAt(e.position().toPoint());
    if (!sotto.isValid()) {
        return true;
    }
    const std::uint64_t riga = modello_->inizio() + static_cast<std::uint64_t>(sotto.row());
    colonna_ = sotto.column();
    corrente_ = riga;
    const bool ctrl = (e.modifiers() & Qt::ControlModifier) != 0;
    if (e.button() == Qt::RightButton) {
        // The row's menu acts on the row clicked, in the selection or not.
        if (!selezione_.contiene(riga)) {
            selezione_.scegli(riga);
        }
    } else if ((e.modifiers() & Qt::ShiftModifier) != 0) {
        selezione_.estendi(riga);
    } else if (ctrl) {
        selezione_.alterna(riga);
    } else {
        selezione_.scegli(riga);
    }
    trascina_ = e.button() == Qt::LeftButton && !ctrl;
    proietta();
    return true;
}

bool TabellaElenco::trascinato(const QMouseEvent& e) {
    if (!trascina_ || (e.buttons() & Qt::LeftButton) == 0) {
        return false;
    }
    const std::uint64_t righe = modello_->elenco().righe();
    if (righe == 0) {
        return true;
    }
    // Dragged above or below the rows on screen, the selection goes on a row at
    // a time.
    const std::uint64_t inizio = modello_->inizio();
    const int y = e.position().toPoint().y();
    const int r = vista_->rowAt(y);
    std::uint64_t riga = 0;
    if (y < 0) {
        riga = inizio > 0 ? inizio - 1 : 0;
    } else if (r < 0) {
        riga = inizio + static_cast<std::uint64_t>(modello_->rowCount());
    } else {
        riga = inizio + static_cast<std::uint64_t>(r);
    }
    sposta(std::min(riga, righe - 1), true);
    return true;
}

void TabellaElenco::rotella(const QWheelEvent& e) {
    residuoRotella_ += e.angleDelta().y();
    const int scatti = residuoRotella_ / kScatto;
    residuoRotella_ %= kScatto;
    if (scatti == 0) {
        return;
    }
    const auto inizio = static_cast<std::int64_t>(modello_->inizio());
    const std::int64_t nuovo = inizio - static_cast<std::int64_t>(scatti) * kRighePerScatto;
    mostraDa(static_cast<std::uint64_t>(std::max<std::int64_t>(nuovo, 0)));
}

void TabellaElenco::sposta(std::uint64_t riga, bool estendi) {
    corrente_ = riga;
    if (estendi) {
        selezione_.estendi(riga);
    } else {
        selezione_.scegli(riga);
    }
    rendiVisibile(riga);
}

std::uint64_t TabellaElenco::inizioMassimo() const {
    const std::uint64_t righe = modello_->elenco().righe();
    const auto altezza = static_cast<std::uint64_t>(altezza_);
    return righe > altezza ? righe - altezza : 0;
}

void TabellaElenco::mostraDa(std::uint64_t inizio) {
    inizio = std::min(inizio, inizioMassimo());
    modello_->impostaFinestra(inizio, altezza_);
    const QSignalBlocker fermo(barra_);
    barra_->setValue(inizio == inizioMassimo() ? barra_->maximum()
                                               : static_cast<int>(inizio / scala_));
    proietta();
}

void TabellaElenco::rendiVisibile(std::uint64_t riga) {
    const std::uint64_t inizio = modello_->inizio();
    const auto altezza = static_cast<std::uint64_t>(altezza_);
    if (riga < inizio) {
        mostraDa(riga);
    } else if (riga >= inizio + altezza) {
        mostraDa(riga - altezza + 1);
    } else {
        proietta();
    }
}

void TabellaElenco::misura() {
    const int riga = std::max(1, vista_->verticalHeader()->defaultSectionSize());
    altezza_ = std::max(1, vista_->viewport()->height() / riga);
    const std::uint64_t massimo = inizioMassimo();
    const auto limite = static_cast<std::uint64_t>(std::numeric_limits<int>::max());
    scala_ = massimo / limite + 1;
    const QSignalBlocker fermo(barra_);
    barra_->setRange(0, static_cast<int>(massimo / scala_));
    barra_->setPageStep(
        std::max(1, static_cast<int>(static_cast<std::uint64_t>(altezza_) / scala_)));
    barra_->setSingleStep(1);
    mostraDa(modello_->inizio());
}

void TabellaElenco::elencoCambiato() {
    selezione_.svuota();
    corrente_ = 0;
    misura();
    mostraDa(0);
    if (modello_->elenco().righe() > 0) {
        sposta(0, false);
    }
}

void TabellaElenco::proietta() {
    const std::uint64_t inizio = modello_->inizio();
    const int quante = modello_->rowCount();
    const int ultimaColonna = modello_->columnCount() - 1;
    QItemSelection scelte;
    for (const TrattoRighe& t : selezione_.tratti()) {
        if (quante == 0 || t.second < inizio ||
            t.first >= inizio + static_cast<std::uint64_t>(quante)) {
            continue;
        }
        const auto da = static_cast<int>(std::max(t.first, inizio) - inizio);
        const auto a = static_cast<int>(
            std::min(t.second, inizio + static_cast<std::uint64_t>(quante) - 1) - inizio);
        scelte.select(modello_->index(da, 0), modello_->index(a, ultimaColonna));
    }
    QItemSelectionModel* scelta = vista_->selectionModel();
    scelta->select(scelte, QItemSelectionModel::ClearAndSelect);
    if (quante > 0 && corrente_ >= inizio &&
        corrente_ < inizio + static_cast<std::uint64_t>(quante)) {
        const QModelIndex indice = modello_->index(static_cast<int>(corrente_ - inizio), colonna_);
        scelta->setCurrentIndex(indice, QItemSelectionModel::NoUpdate);
        vista_->scrollTo(indice);
    } else {
        scelta->clearCurrentIndex();
    }
}

}  // namespace pliventa
