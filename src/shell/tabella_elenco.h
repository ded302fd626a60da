// The table of the payments list: Qt's table view over the rows on screen, and a
// scroll bar of its own over every row of the list. Moving, selecting and the
// keys of a table are handled here in rows of the list, since the view knows only
// the few dozen it shows.
#pragma once

#include <QWidget>
#include <cstdint>
#include <optional>
#include <vector>

#include "shell/selezione_righe.h"

class QKeyEvent;
class QMouseEvent;
class QScrollBar;
class QTableView;
class QWheelEvent;

namespace pliventa {

class ModelloElenco;

class TabellaElenco : public QWidget {
    Q_OBJECT

public:
    /// The table over `modello`, which it takes as its child.
    TabellaElenco(ModelloElenco* modello, QWidget* genitore);

    QTableView* vista() const { return vista_; }
    QScrollBar* barra() const { return barra_; }
    ModelloElenco* modello() const { return modello_; }

    /// The current row of the list; nullopt when the list is empty.
    std::optional<std::uint64_t> corrente() const;
    /// The selected rows of the list, as ascending ranges.
    std::vector<TrattoRighe> selezione() const { return selezione_.tratti(); }
    /// Makes `riga` the current row, alone selected, and shows it.
    void vaiA(std::uint64_t riga);

signals:
    /// Enter or a double-click on row `riga` of the list.
    void rigaAttivata(std::uint64_t riga);

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    bool tasto(const QKeyEvent& e);
    bool mouse(const QMouseEvent& e);
    bool premuto(const QMouseEvent& e);
    bool trascinato(const QMouseEvent& e);
    void rotella(const QWheelEvent& e);
    /// Moves the current row to `riga`, extending the selection or selecting it alone.
    void sposta(std::uint64_t riga, bool estendi);
    /// Shows the rows from `inizio` on (as far as the last screenful allows).
    void mostraDa(std::uint64_t inizio);
    /// Scrolls as little as needed for `riga` to be on screen.
    void rendiVisibile(std::uint64_t riga);
    /// The rows that fit the view changed: the window and the scroll bar follow.
    void misura();
    /// The list has other rows: its first one becomes current and selected.
    void elencoCambiato();
    /// The selection and the current row, onto the rows on screen.
    void proietta();
    std::uint64_t inizioMassimo() const;

    ModelloElenco* modello_;
    QTableView* vista_;
    QScrollBar* barra_;
    SelezioneRighe selezione_;
    std::uint64_t corrente_ = 0;
    int colonna_ = 0;
    int altezza_ = 1;          ///< rows that fit the view
    std::uint64_t scala_ = 1;  ///< rows a step of the scroll bar, past two billion rows
    int residuoRotella_ = 0;   ///< a wheel's turn short of a notch
    bool trascina_ = false;    ///< the mouse selects as it moves
};

}  // namespace pliventa
