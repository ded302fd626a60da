// The views on the open work file (the list, the summary, the checks): each shares
// the window's handle on the file and owns what it shows; the long passes run here,
// through the window's runner, before the view is made.
#include "base/testo.h"
#include "shell/finestra_controlli.h"
#include "shell/finestra_elenco.h"
#include "shell/finestra_riepilogo.h"
#include "shell/finestra_scheda.h"
#include "shell/frmview.h"

namespace pliventa {

namespace {

const QString kTitoloElenco = QStringLiteral("Elenco versamenti");
const QString kTitoloRiepilogo = QStringLiteral("Riepilogo");
const QString kTitoloControlli = QStringLiteral("Controlli");
const QString kTitoloScheda = QStringLiteral("Scheda contribuente");

// Brings a view that lives on to the front, as a second request for it means.
void porta(QWidget* finestra) {
    finestra->show();
    finestra->raise();
    finestra->activateWindow();
}

}  // namespace

template <typename Vista>
void frmView::apriVista(Vista* vista) {
    // The numbers it shows would no longer be its own once the work file changes.
    connect(this, &frmView::archivioCambiato, vista, &QWidget::close);
    if constexpr (requires { &Vista::versamentoScelto; }) {
        connect(vista, &Vista::versamentoScelto, this, &frmView::vaiAVersamento);
    }
    porta(vista);
}

void frmView::vaiAVersamento(std::uint64_t numero) {
    if (!sessione().aperto()) {
        return;
    }
    const double prima = sessione().recordcorrente();
    sessione().impostaRecordcorrente(static_cast<double>(numero));
    if (!mostrarecord(FormaNumero::conPrefisso)) {
        sessione().impostaRecordcorrente(prima);
        return;
    }
    porta(this);
}

void frmView::mostraElenco() {
    if (!sessione().aperto()) {
        avvisaNessunArchivio();
        return;
    }
    verificaArchivio();
    if (elenco_ != nullptr) {
        porta(elenco_);
        return;
    }
    const QString intro = QStringLiteral("Impossibile aprire l'elenco dei versamenti.");
    std::shared_ptr<const ArchivioLavoro> archivio = sessione().condiviso();
    Esito<ElencoVersamenti> lista = ElencoVersamenti::crea(*archivio, formatoElenco());
    if (!lista) {
        avvisaErrore(intro, lista.errore(), kTitoloElenco);
        return;
    }
    auto* vista = new FinestraElenco(std::move(archivio), std::move(*lista), dialoghi_, this);
    connect(this, &frmView::valutaCambiata, vista,
            [this, vista] { vista->impostaFormato(formatoElenco()); });
    connect(vista, &FinestraElenco::schedaRichiesta, this,
            [this](const QString& codice) { mostraScheda(codice); });
    elenco_ = vista;
    apriVista(vista);
}

void frmView::mostraRiepilogo() {
    if (!sessione().aperto()) {
        avvisaNessunArchivio();
        return;
    }
    verificaArchivio();
    if (riepilogo_ != nullptr) {
        porta(riepilogo_);
        return;
    }
    const QString intro = QStringLiteral("Impossibile calcolare il riepilogo.");
    const std::shared_ptr<const ArchivioLavoro> archivio = sessione().condiviso();
    Esito<Riepilogo> totali = controllore_.riepiloga(*archivio, kTitoloRiepilogo);
    if (!totali) {
        if (totali.errore().codice != CodiceErrore::Annullato) {
            avvisaErrore(intro, totali.errore(), kTitoloRiepilogo);
        }
        return;
    }
    auto* vista =
        new FinestraRiepilogo(std::move(*totali), archivio->percorso(), valuta(), dialoghi_, this);
    connect(this, &frmView::valutaCambiata, vista,
            [this, vista] { vista->impostaValuta(valuta()); });
    riepilogo_ = vista;
    apriVista(vista);
}

void frmView::mostraControlli() {
    if (!sessione().aperto()) {
        avvisaNessunArchivio();
        return;
    }
    verificaArchivio();
    if (controlli_ != nullptr) {
        porta(controlli_);
        return;
    }
    const QString intro = QStringLiteral("Impossibile controllare i versamenti.");
    std::shared_ptr<const ArchivioLavoro> archivio = sessione().condiviso();
    Esito<AnomalieTrovate> trovate = controllore_.controlla(*archivio, kTitoloControlli);
    if (!trovate) {
        if (trovate.errore().codice != CodiceErrore::Annullato) {
            avvisaErrore(intro, trovate.errore(), kTitoloControlli);
        }
        return;
    }
    auto* vista = new FinestraControlli(std::move(archivio), std::move(*trovate), valuta(), this);
    connect(this, &frmView::valutaCambiata, vista,
            [this, vista] { vista->impostaValuta(valuta()); });
    controlli_ = vista;
    apriVista(vista);
}

void frmView::mostraScheda(const QString& codice) {
    if (!sessione().aperto()) {
        avvisaNessunArchivio();
        return;
    }
    QString scelto = codice.trimmed();
    if (scelto.isEmpty()) {
        // The payment shown proposes its own taxpayer.
        QString proposto;
        if (const Esito<Versamento> v = sessione().leggiCorrente()) {
            proposto = daUtf8(daCp1252(senzaSpazi(v->campo(Campo::codicefiscale))));
        }
        scelto =
            dialoghi_
                .input(QStringLiteral("Codice fiscale del contribuente:"), kTitoloScheda, proposto)
                .trimmed();
        if (scelto.isEmpty()) {
            return;
        }
    }
    verificaArchivio();
    const QString intro = QStringLiteral("Impossibile preparare la scheda del contribuente.");
    std::shared_ptr<const ArchivioLavoro> archivio = sessione().condiviso();
    AmbitoRiepilogo ambito;
    ambito.solo = Raggruppamento::anno;
    // The code as the work file writes it; one it cannot write is nobody's.
    ambito.codiceFiscale = aCp1252(scelto.toStdString()).value_or(std::string(17, '?'));
    Esito<Riepilogo> scheda = controllore_.riepiloga(*archivio, kTitoloScheda, ambito);
    if (!scheda) {
        if (scheda.errore().codice != CodiceErrore::Annullato) {
            avvisaErrore(intro, scheda.errore(), kTitoloScheda);
        }
        return;
    }
    if (scheda_ != nullptr) {
        scheda_->close();
    }
    auto* vista =
        new FinestraScheda(std::move(archivio), scelto, std::move(*scheda), valuta(), this);
    connect(this, &frmView::valutaCambiata, vista,
            [this, vista] { vista->impostaValuta(valuta()); });
    scheda_ = vista;
    apriVista(vista);
}

}  // namespace pliventa
