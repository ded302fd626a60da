// What the two implementations of Sostituzione share about the named temporary
// files: their names, the slots that let a signal handler remove them, and the
// clean-up of those a killed program left behind. Internal to src/base.
#pragma once

#include <string>

namespace pliventa::temporanei {

/// The next number for a temporary name of this process.
unsigned prossimo();

/// Takes a slot for `percorso`, so that rimuoviTemporaneiAperti() removes it;
/// -1 when none is free or the path does not fit.
int registra(const std::string& percorso);

/// Gives the slot back (nothing for -1) and sets it to -1.
void libera(int& posto);

/// True when PLIVENTA_TEMPORANEI_CON_NOME asks for named temporary files.
bool soloConNome();

/// Removes from `cartella` the temporary files left by processes of this computer
/// that are gone (killed before they could remove them). A process that still
/// runs, or that this user may not look at, keeps its file.
void rimuoviAvanzi(const std::string& cartella);

}  // namespace pliventa::temporanei
