#include "dialoghi_finti.h"

#include <gtest/gtest.h>

#include <thread>
#include <utility>

#include "shell/lavoro.h"

#include <QPrinter>

namespace pliventa::test {

namespace {

const char* nome(int tipo) {
    static const char* const kNomi[] = {
        "message box", "input box",    "save-as dialog",  "document opening",
        "long work",   "print dialog", "choice of files", "dialog of the layouts"};
    return kNomi[tipo];
}

}  // namespace

DialoghiFinti& DialoghiFinti::attendi(const QString& testo, const QString& titolo,
                                      Pulsanti pulsanti, Icona icona, Risposta risposta,
                                      Durante durante) {
    attesi_.push_back({.testo = testo,
                       .titolo = titolo,
                       .pulsanti = pulsanti,
                       .icona = icona,
                       .risposta = risposta,
                       .durante = std::move(durante)});
    return *this;
}

DialoghiFinti& DialoghiFinti::attendiQualsiasi(const QString& titolo, Pulsanti pulsanti,
                                               Icona icona) {
    attesi_.push_back({.titolo = titolo, .pulsanti = pulsanti, .icona = icona});
    return *this;
}

DialoghiFinti& DialoghiFinti::attendiInput(const QString& prompt, const QString& titolo,
                                           const QString& predefinito, const QString& risposta) {
    attesi_.push_back({.tipo = Tipo::input,
                       .testo = prompt,
                       .titolo = titolo,
                       .predefinito = predefinito,
                       .rispostaTesto = risposta});
    return *this;
}

DialoghiFinti& DialoghiFinti::attendiSalva(const QString& titolo, const QString& filtro,
                                           const QString& risposta, int tipo) {
    attesi_.push_back({.tipo = Tipo::salva,
                       .testo = filtro,
                       .titolo = titolo,
                       .rispostaTesto = risposta,
                       .tipoFile = tipo});
    return *this;
}

DialoghiFinti& DialoghiFinti::attendiScelta(const QString& titolo, const QStringList& file) {
    attesi_.push_back(
        {.tipo = Tipo::scelta, .testo = std::nullopt, .titolo = titolo, .file = file});
    return *this;
}

DialoghiFinti& DialoghiFinti::attendiTracciati(const QString& titolo,
                                               const std::vector<std::optional<Formato>>& trovati,
                                               const std::optional<std::vector<Formato>>& scelti) {
    attesi_.push_back({.tipo = Tipo::tracciati,
                       .testo = std::nullopt,
                       .titolo = titolo,
                       .trovati = trovati,
                       .scelti = scelti});
    return *this;
}

DialoghiFinti& DialoghiFinti::attendiApertura(bool aperto) {
    attesi_.push_back({.tipo = Tipo::apertura, .si = aperto});
    return *this;
}

DialoghiFinti& DialoghiFinti::attendiLavoro(const QString& titolo, bool annulla) {
    attesi_.push_back({.tipo = Tipo::lavoro, .titolo = titolo, .si = annulla});
    return *this;
}

DialoghiFinti& DialoghiFinti::attendiLavoroDurante(const QString& titolo, Durante durante) {
    attesi_.push_back({.tipo = Tipo::lavoro, .titolo = titolo, .durante = std::move(durante)});
    return *this;
}

DialoghiFinti& DialoghiFinti::attendiLavoroAnnullatoAllaFase(const QString& titolo, int fase) {
    attesi_.push_back({.tipo = Tipo::lavoro, .titolo = titolo, .faseAnnullo = fase});
    return *this;
}

void DialoghiFinti::verificaFine() {
    for (const Atteso& a : attesi_) {
        ADD_FAILURE() << "expected " << nome(static_cast<int>(a.tipo)) << " never shown: "
                      << a.testo.value_or(QStringLiteral("(any text)")).toStdString() << " / "
                      << a.titolo.toStdString();
    }
    attesi_.clear();
}

std::optional<DialoghiFinti::Atteso> DialoghiFinti::prossimo(Tipo tipo, const QString& testo,
                                                             const QString& titolo) {
    genitori_.push_back(genitore_);
    if (attesi_.empty()) {
        ADD_FAILURE() << "unexpected " << nome(static_cast<int>(tipo)) << ": "
                      << testo.toStdString() << " / " << titolo.toStdString();
        return std::nullopt;
    }
    Atteso a = std::move(attesi_.front());
    attesi_.pop_front();
    if (a.tipo != tipo) {
        ADD_FAILURE() << "a " << nome(static_cast<int>(tipo)) << " came where a "
                      << nome(static_cast<int>(a.tipo)) << " was expected: " << testo.toStdString();
        return std::nullopt;
    }
    if (a.testo) {
        EXPECT_EQ(testo, *a.testo);
    }
    EXPECT_EQ(titolo, a.titolo) << testo.toStdString();
    return a;
}

Risposta DialoghiFinti::messaggio(const QString& testo, const QString& titolo, Pulsanti pulsanti,
                                  Icona icona, const QRect& /*lasciaVisibile*/) {
    testi_.push_back(testo);
    const std::optional<Atteso> a = prossimo(Tipo::messaggio, testo, titolo);
    if (!a) {
        return pulsanti == Pulsanti::siNo ? Risposta::no : Risposta::ok;
    }
    EXPECT_EQ(pulsanti, a->pulsanti) << testo.toStdString();
    EXPECT_EQ(icona, a->icona) << testo.toStdString();
    if (a->durante) {
        a->durante();
    }
    return a->risposta;
}

QString DialoghiFinti::input(const QString& prompt, const QString& titolo,
                             const QString& predefinito) {
    const std::optional<Atteso> a = prossimo(Tipo::input, prompt, titolo);
    if (!a) {
        return {};
    }
    EXPECT_EQ(predefinito, a->predefinito);
    return a->rispostaTesto;
}

FileScelto DialoghiFinti::salvaCome(const QString& titolo, const QString& proposta,
                                    const QString& filtro) {
    proposte_.push_back(proposta);
    const std::optional<Atteso> a = prossimo(Tipo::salva, filtro, titolo);
    return a ? FileScelto{a->rispostaTesto, a->tipoFile} : FileScelto{};
}

DialoghiFinti& DialoghiFinti::attendiStampa(const QString& titolo, const QString& pdf) {
    Atteso a;
    a.tipo = Tipo::stampa;
    a.testo = titolo;
    a.titolo = titolo;
    a.rispostaTesto = pdf;
    attesi_.push_back(a);
    return *this;
}

bool DialoghiFinti::scegliStampante(const QString& titolo, QPrinter& stampante) {
    const std::optional<Atteso> a = prossimo(Tipo::stampa, titolo, titolo);
    if (!a || a->rispostaTesto.isEmpty()) {
        return false;
    }
    stampante.setOutputFormat(QPrinter::PdfFormat);
    stampante.setOutputFileName(a->rispostaTesto);
    return true;
}

QStringList DialoghiFinti::scegliFile(const QString& titolo, const QString& cartella) {
    const std::optional<Atteso> a = prossimo(Tipo::scelta, cartella, titolo);
    return a ? a->file : QStringList();
}

std::optional<std::vector<Formato>> DialoghiFinti::scegliTracciati(
    const QString& titolo, const std::vector<FileDaImportare>& file) {
    fileMostrati_ = file;
    const std::optional<Atteso> a = prossimo(Tipo::tracciati, {}, titolo);
    if (!a) {
        return std::nullopt;
    }
    std::vector<std::optional<Formato>> trovati;
    for (const FileDaImportare& f : file) {
        trovati.push_back(f.formato);
    }
    EXPECT_EQ(trovati, a->trovati);
    return a->scelti;
}

bool DialoghiFinti::apriDocumento(const QString& percorso) {
    documenti_.push_back(percorso);
    const std::optional<Atteso> a = prossimo(Tipo::apertura, percorso, {});
    return a && a->si;
}

void DialoghiFinti::attendi(Lavoro& lavoro, const QString& titolo, const QStringList& fasi) {
    EXPECT_FALSE(fasi.isEmpty()) << "long work without texts for its progress";
    const std::optional<Atteso> a = prossimo(Tipo::lavoro, titolo, titolo);
    if (a && a->si) {
        lavoro.annulla();
    }
    if (a && a->durante) {
        a->durante();
    }
    lavoro.avvia();
    while (a && a->faseAnnullo >= 0 && !lavoro.finito()) {
        if (lavoro.stato().fase >= a->faseAnnullo) {
            lavoro.annulla();
            break;
        }
        std::this_thread::yield();
    }
    lavoro.aspetta();
}

/// Forwards every dialog to the script with its parent set meanwhile.
class DialoghiFigli : public Dialoghi {
    // Defined before its callers, which deduce its result.
    template <typename F>
    auto con(F mostra) {
        const QWidget* prima = std::exchange(finti_.genitore_, finestra_);
        auto esito = mostra();
        finti_.genitore_ = prima;
        return esito;
    }

public:
    DialoghiFigli(DialoghiFinti& finti, const QWidget* finestra)
        : finti_(finti), finestra_(finestra) {}

    using Dialoghi::messaggio;
    Risposta messaggio(const QString& testo, const QString& titolo, Pulsanti pulsanti, Icona icona,
                       const QRect& lasciaVisibile) override {
        return con(
            [&] { return finti_.messaggio(testo, titolo, pulsanti, icona, lasciaVisibile); });
    }
    QString input(const QString& prompt, const QString& titolo,
                  const QString& predefinito) override {
        return con([&] { return finti_.input(prompt, titolo, predefinito); });
    }
    FileScelto salvaCome(const QString& titolo, const QString& proposta,
                         const QString& filtro) override {
        return con([&] { return finti_.salvaCome(titolo, proposta, filtro); });
    }
    QStringList scegliFile(const QString& titolo, const QString& cartella) override {
        return con([&] { return finti_.scegliFile(titolo, cartella); });
    }
    std::optional<std::vector<Formato>> scegliTracciati(
        const QString& titolo, const std::vector<FileDaImportare>& file) override {
        return con([&] { return finti_.scegliTracciati(titolo, file); });
    }
    bool apriDocumento(const QString& percorso) override {
        return con([&] { return finti_.apriDocumento(percorso); });
    }
    void attendi(Lavoro& lavoro, const QString& titolo, const QStringList& fasi) override {
        con([&] {
            finti_.attendi(lavoro, titolo, fasi);
            return true;
        });
    }
    bool scegliStampante(const QString& titolo, QPrinter& stampante) override {
        return con([&] { return finti_.scegliStampante(titolo, stampante); });
    }
    std::unique_ptr<Dialoghi> figli(QWidget* finestra) override { return finti_.figli(finestra); }

private:
    DialoghiFinti& finti_;
    const QWidget* finestra_;
};

std::unique_ptr<Dialoghi> DialoghiFinti::figli(QWidget* finestra) {
    return std::make_unique<DialoghiFigli>(*this, finestra);
}

}  // namespace pliventa::test
