#include "dialoghi_finti.h"

#include <gtest/gtest.h>

namespace pliventa::test {

DialoghiFinti& DialoghiFinti::attendi(const QString& testo, const QString& titolo,
                                      Pulsanti pulsanti, Icona icona, Risposta risposta,
                                      Durante durante) {
    attesi_.push_back(
        Atteso{false, testo, titolo, pulsanti, icona, risposta, {}, {}, std::move(durante)});
    return *this;
}

DialoghiFinti& DialoghiFinti::attendiQualsiasi(const QString& titolo, Pulsanti pulsanti,
                                               Icona icona) {
    attesi_.push_back(
        Atteso{false, std::nullopt, titolo, pulsanti, icona, Risposta::ok, {}, {}, {}});
    return *this;
}

DialoghiFinti& DialoghiFinti::attendiInput(const QString& prompt, const QString& titolo,
                                           const QString& predefinito, const QString& risposta) {
    attesi_.push_back(Atteso{true,
                             prompt,
                             titolo,
                             Pulsanti::ok,
                             Icona::nessuna,
                             Risposta::ok,
                             predefinito,
                             risposta,
                             {}});
    return *this;
}

void DialoghiFinti::verificaFine() {
    for (const Atteso& a : attesi_) {
        ADD_FAILURE() << "expected dialog never shown: " << (a.input ? "input " : "message ")
                      << a.testo.value_or(QStringLiteral("(any text)")).toStdString() << " / "
                      << a.titolo.toStdString();
    }
    attesi_.clear();
}

std::optional<DialoghiFinti::Atteso> DialoghiFinti::prossimo(const char* tipo, const QString& testo,
                                                             const QString& titolo) {
    if (attesi_.empty()) {
        ADD_FAILURE() << "unexpected " << tipo << ": " << testo.toStdString() << " / "
                      << titolo.toStdString();
        return std::nullopt;
    }
    Atteso a = std::move(attesi_.front());
    attesi_.pop_front();
    return a;
}

Risposta DialoghiFinti::messaggio(const QString& testo, const QString& titolo, Pulsanti pulsanti,
                                  Icona icona) {
    testi_.push_back(testo);
    const std::optional<Atteso> a = prossimo("message box", testo, titolo);
    if (!a) {
        return pulsanti == Pulsanti::siNo ? Risposta::no : Risposta::ok;
    }
    EXPECT_FALSE(a->input) << "a message box came where an input box was expected: "
                           << testo.toStdString();
    if (a->testo) {
        EXPECT_EQ(testo, *a->testo);
    }
    EXPECT_EQ(titolo, a->titolo) << testo.toStdString();
    EXPECT_EQ(pulsanti, a->pulsanti) << testo.toStdString();
    EXPECT_EQ(icona, a->icona) << testo.toStdString();
    if (a->durante) {
        a->durante();
    }
    return a->risposta;
}

QString DialoghiFinti::input(const QString& prompt, const QString& titolo,
                             const QString& predefinito) {
    const std::optional<Atteso> a = prossimo("input box", prompt, titolo);
    if (!a) {
        return {};
    }
    EXPECT_TRUE(a->input) << "an input box came where a message box was expected";
    EXPECT_EQ(prompt, a->testo.value_or(QString()));
    EXPECT_EQ(titolo, a->titolo);
    EXPECT_EQ(predefinito, a->predefinito);
    return a->rispostaTesto;
}

}  // namespace pliventa::test
