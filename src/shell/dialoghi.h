// Every modal interaction of the window goes through this interface, so that
// tests can script the answers and check the exact texts, titles, buttons and icons.
#pragma once

#include <QString>

namespace pliventa {

/// The application's default title of message boxes that give none of their own.
inline const QString kTitoloPredefinito = QStringLiteral("Pliventa");

enum class Icona { nessuna, informazione, esclamazione, critica, domanda };
enum class Pulsanti { ok, siNo };
enum class Risposta { ok, si, no };

class Dialoghi {
public:
    virtual ~Dialoghi() = default;

    /// A message box with `testo`, `titolo`, `pulsanti` and `icona`; returns the
    /// button pressed (closing a Yes/No box counts as No, an OK box as OK).
    virtual Risposta messaggio(const QString& testo, const QString& titolo, Pulsanti pulsanti,
                               Icona icona) = 0;

    /// A one-line input box with `prompt`, `titolo` and `predefinito` as its initial
    /// text; returns the confirmed text, or an empty text when cancelled.
    virtual QString input(const QString& prompt, const QString& titolo,
                          const QString& predefinito) = 0;

    /// A Yes/No question; true for Yes.
    bool domanda(const QString& testo, const QString& titolo, Icona icona = Icona::nessuna) {
        return messaggio(testo, titolo, Pulsanti::siNo, icona) == Risposta::si;
    }
};

}  // namespace pliventa
