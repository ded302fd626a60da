// The main window: every operation of the program starts from one of its buttons.
// Handlers orchestrate the core and fill the widgets; the format rules live in the
// core, every modal interaction goes through Dialoghi.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>

#include "base/errore.h"
#include "browse/elenco.h"
#include "browse/sessione.h"
#include "records/versamento.h"
#include "records/visualizzazione.h"
#include "shell/controllore.h"
#include "shell/dialoghi.h"
#include "shell/didascalie.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pliventa {

class FinestraElenco;
class FinestraControlli;
class FinestraGuida;
class FinestraRiepilogo;
class FinestraScheda;
class Lavoro;
struct TipoPercorso;
enum class Tracciato;

class frmView : public QMainWindow {
    Q_OBJECT

public:
    /// The window with every control in its design state; `dialoghi` must outlive it.
    explicit frmView(Dialoghi& dialoghi, QWidget* parent = nullptr);
    ~frmView() override;

    /// Opens `percorso` as the work file read with `lettura`, in place of the open
    /// one; recordcorrente is left as it is. Returns the open error, and then the
    /// open work file stays as it was.
    EsitoVuoto apriArchivio(const QString& percorso, LetturaAtto lettura);

    /// Shows record recordcorrente of the open work file. A read that fails (no file,
    /// no such record) returns its error and leaves the boxes as they were.
    EsitoVuoto mostrarecord(FormaNumero forma = FormaNumero::conPrefisso);

    /// Exports every payment of the open work file to an .xlsx workbook the user
    /// names, then opens it. recordcorrente and the display are left as they are.
    void stampaexcel();

    /// The ordinary layout: year shown with its caption, notice hidden, design captions.
    void normale();
    /// The violation layout: year and its caption hidden, notice shown, violation captions.
    void violazioni();

    /// The open work file, its notice reading and recordcorrente.
    Sessione& sessione() { return controllore_.sessione(); }
    const Sessione& sessione() const { return controllore_.sessione(); }

    /// What the window does that needs no widget.
    Controllore& controllore() { return controllore_; }

    /// The text of the currency box ("E": amounts are euro cents).
    QString valuta() const;
    /// The separators of the user's locale, as the amounts are shown.
    Separatori separatori() const;
    /// How the list shows the cells: the currency box, the work file's notice
    /// reading, the user's locale.
    FormatoElenco formatoElenco() const;
    /// Runs `lavoro` off the window's thread through Dialoghi::attendi; the window
    /// and its views take no input meanwhile (buttons, menus, keys), only the
    /// progress dialog does. A close asked for meanwhile cancels the work and takes
    /// effect when it has ended.
    void eseguiLavoro(Lavoro& lavoro, const QString& titolo, const QStringList& fasi);

    /// Shows payment `numero` of the open work file as if reached by navigation: it
    /// becomes recordcorrente and the main window comes to the front. A number the
    /// file does not have leaves everything as it was.
    void vaiAVersamento(std::uint64_t numero);

    // Menu handlers.
    /// Opens the work file of the last successful import or conversion (remembered
    /// in the program's settings) and shows payment 1.
    void riapriUltimoArchivio();
    /// Imports several files the user chooses, each in the layout found from its
    /// first lines or the one the user sets, into one work file.
    void importaPiuFile();
    void mostraElenco();
    void mostraRiepilogo();
    void mostraControlli();
    /// The statement of the codice fiscale `codice`; asked for, with that of the
    /// payment shown proposed, when empty.
    void mostraScheda(const QString& codice = {});
    /// Prints what the clerk is looking at: the view in front, or the payment shown.
    void stampa();
    /// Opens the user's guide (Aiuto › Guida, F1), or brings it to the front.
    void mostraGuida();

    // Handlers, one per control (connected in the constructor).
    void cmdApri_Click();
    void cmd1997_Click();
    void cmdViol_Click();
    void Command3_Click();
    void cmdInizio_Click();
    void cmdIndietro_Click();
    void cmdAvanti_Click();
    void cmdFine_Click();
    void cmdRicerca_Click();
    void cmdExcel_Click();
    void cmdUniriscossioni_Click();
    void Command1_Click();
    void cmdHelp_Click();
    void Command2_Click();
    void Image1_DblClick();
    void Text3_DblClick(int index);

signals:
    /// The program must end (exit button, closed window, empty path answer). Emitted
    /// once, after the work file has been closed.
    void terminaProgramma();
    /// The open work file was closed, replaced or opened: the views on it close.
    void archivioCambiato();
    /// The currency box changed: amounts shown elsewhere are shown again.
    void valutaCambiata();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    // What a display put on screen, to put the window back after a search.
    struct Istantanea {
        std::array<QString, 12> text3;
        QString text4;
        std::array<QString, 4> didascalie;
        std::array<bool, 12> text3Visibile{};
        std::array<bool, 13> label1Visibile{};
    };

    void costruisci();
    void costruisciMenu();
    /// Prints the table of `vista`, a view of the work file `archivio`.
    void stampaVista(QWidget* vista, const QString& archivio);
    /// Enables the menu entries that have something to act on.
    void aggiornaMenu();
    /// Closes the open work file, if any, and tells the views.
    void chiudiArchivio();
    /// Remembers `percorso` (read with `lettura`) as the last work file made.
    void ricordaArchivio(const QString& percorso, LetturaAtto lettura);
    /// A view over the open work file has been made: it is shown, hands the
    /// payment chosen (if it offers one) to this window, and closes when the work
    /// file changes.
    template <typename Vista>
    void apriVista(Vista* vista);
    /// When the file at the path of the open work file is no longer the one open
    /// (replaced or rewritten by another program), says so and offers to open it
    /// in place of this one: on Yes it is opened, payment 1 shown and the views
    /// that were open made again on it; on No the window and its views go on
    /// with the file open, and the same change is not told again. Asked before a
    /// view opens, before the export and when the program becomes active again.
    void verificaArchivio();
    /// Opens again the work file at the path of the open one, in its place.
    void riapriDaDisco();
    /// After a work file was opened: the count in Text5, recordcorrente 1 and payment
    /// 1 shown (the record area emptied when there is none). Returns what the status
    /// bar adds (empty, or that payment 1 cannot be read), or the count's error.
    Esito<QString> mostraPrimo();
    QWidget* costruisciIntestazione();
    QWidget* costruisciRecord();
    void collega();
    void scorciatoie();

    void aspetto(bool violazione);
    void mostra(const Versamento& v, FormaNumero forma);
    void applica(const Schermata& s);
    void mostraVuoto();
    /// The record area live while a work file is open; greyed, its texts kept, and
    /// the status bar saying so, once it has been closed.
    void segnaArchivio();
    Istantanea istantanea() const;
    void ripristina(const Istantanea& i);

    /// After an import or a conversion that failed or was cancelled: opens again the
    /// work file that was open before it (`prima`), as it was; with none, or when it
    /// cannot be opened, the record area is emptied.
    void rimettiArchivio(const std::optional<Sessione::Ripresa>& prima);

    void importa(const TipoPercorso& tipo, Tracciato tracciato, const QString& titoloChiusura);
    /// After an import: the work file `archivio` in Text2, the closing message titled
    /// `titoloChiusura`, the work file opened with `lettura` and payment 1 shown,
    /// `conteggi` and `avviso` in the status bar.
    void apriImportato(const QString& archivio, LetturaAtto lettura, const QString& titoloChiusura,
                       const QString& conteggi, const QString& avviso);
    void naviga(Movimento m);
    void avvisaNessunArchivio();
    /// An exclamation box titled `titolo`: `intro`, then on its own line the path
    /// and the reason of `errore`.
    void avvisaErrore(const QString& intro, const Errore& errore, const QString& titolo);
    void termina();

    Dialoghi& dialoghi_;
    Controllore controllore_;
    bool terminato_ = false;
    Lavoro* lavoro_ = nullptr;  ///< the long work running, if any
    bool chiusuraRinviata_ = false;
    bool verificaInCorso_ = false;  ///< verificaArchivio() is asking

    QAction* azioneRiapri = nullptr;
    QAction* azioneElenco = nullptr;
    QAction* azioneRiepilogo = nullptr;
    QAction* azioneControlli = nullptr;
    QAction* azioneScheda = nullptr;
    // The views on the open work file, while they are open.
    QPointer<FinestraElenco> elenco_;
    QPointer<FinestraRiepilogo> riepilogo_;
    QPointer<FinestraControlli> controlli_;
    QPointer<FinestraScheda> scheda_;
    QPointer<FinestraGuida> guida_;  ///< not a view: it stays when the work file changes

    QLabel* Label2_0 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLabel* Label2_1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLabel* Image1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    /// The record area, the middle column and the navigation bar: what describes the
    /// payment shown, and what a question about it must leave visible.
    QWidget* areaDati = nullptr;
    std::array<QLabel*, 13> label1{};
    std::array<QLineEdit*, 12> Text3{};
    QComboBox* Combo1 = nullptr;
    QLineEdit* Text4 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Text5 = nullptr;
    QLabel* statoArchivio = nullptr;  ///< in the status bar while no work file is open
    QPushButton* cmdRicerca = nullptr;
    QPushButton* cmdInizio = nullptr;
    QPushButton* cmdIndietro = nullptr;
    QPushButton* cmdAvanti = nullptr;
    QPushButton* cmdFine = nullptr;
    QPushButton* cmdHelp = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* cmdExcel = nullptr;
    QPushButton* cmdUniriscossioni = nullptr;
    QPushButton* cmdApri = nullptr;
    QPushButton* cmdViol = nullptr;
    QPushButton* cmd1997 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command2 = nullptr;
};

/// The program's version as major.minor.patch (3.0.3).
QString versione();

}  // namespace pliventa
