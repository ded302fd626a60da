// The signals that ask the window to end (SIGINT, SIGTERM, SIGHUP: a Ctrl+C in
// the terminal that started it, a shutdown, a closed session) handled as a click
// on its close button: the work running is cancelled, which removes the files it
// had begun, and the window closes once it has ended.
#pragma once

class QWidget;

namespace pliventa {

/// Closes `finestra` (its closeEvent decides how) when SIGINT, SIGTERM or SIGHUP
/// comes. The handlers only write to a pipe, which the window's thread reads; a
/// second signal, the window being on its way out since the first, removes the
/// named temporary files at once and ends the program as the signal would have. A
/// signal that whoever started the program ignores (nohup) stays ignored.
/// Returns false when the pipe cannot be made: the signals then do what they did.
bool chiudiAlSegnale(QWidget* finestra);

}  // namespace pliventa
