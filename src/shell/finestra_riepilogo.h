// The "Riepilogo" window: the payments of the open work file totalled by tax
// year and kind, by payment month or by municipality, with a grand total; saved
// as a workbook or CSV, or copied.
#pragma once

#include <QWidget>
#include <string>

#include "shell/viste.h"
#include "summary/riepilogo.h"

class QComboBox;
class QLabel;
class QTableWidget;

namespace pliventa {

class FinestraRiepilogo : public QWidget {
    Q_OBJECT

public:
    /// The window over `riepilogo`, the totals of the work file `archivio`, with
    /// the amounts in `valuta`, as a window of `genitore`.
    FinestraRiepilogo(Riepilogo riepilogo, const std::string& archivio, const QString& valuta,
                      Dialoghi& dialoghi, QWidget* genitore);
    /// Shows the amounts in `valuta` from now on (the currency box changed).
    void impostaValuta(const QString& valuta);
    /// Asks where to save the summary on show and writes it in the type chosen: a
    /// workbook or CSV.
    void salva();
    /// Copies the summary on show, with its headers, as tab-separated text.
    void copia();

private:
    void mostra();
    Raggruppamento raggruppamento() const;
    bool euro() const;

    DialoghiVista dialoghi_;
    Riepilogo riepilogo_;
    QString valuta_;
    QComboBox* scelta_ = nullptr;
    QTableWidget* tabella_ = nullptr;
    QLabel* stato_ = nullptr;
};

}  // namespace pliventa
