// Made-up taxpayers: a name that belongs to nobody and a codice fiscale of the
// right shape, check character included.
#pragma once

#include <string>
#include <string_view>

#include "casuale.h"

namespace pliventa::genera {

struct Contribuente {
    std::string cognome;  ///< Windows-1252, may hold accented letters
    std::string nome;     ///< Windows-1252
    std::string codiceFiscale;
    /// "COGNOME NOME" in capitals (Windows-1252), as the payment files carry it.
    std::string denominazione() const;
};

/// A new made-up taxpayer.
Contribuente nuovoContribuente(Casuale& caso);

/// The codice fiscale of a person: three letters of the surname, three of the
/// name, year, month letter, day (plus 40 for women), place code, check letter.
/// `cognome` and `nome` are Windows-1252; accented vowels count as plain ones.
std::string codiceFiscale(std::string_view cognome, std::string_view nome, int anno, int mese,
                          int giorno, bool donna, std::string_view luogo);

/// The check character of the first fifteen characters of a codice fiscale.
char carattereControllo(std::string_view quindici);

}  // namespace pliventa::genera
