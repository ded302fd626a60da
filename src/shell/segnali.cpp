#include "shell/segnali.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QWidget>
#include <cerrno>

#include "base/file.h"

namespace pliventa {

namespace {

constexpr int kSegnali[] = {SIGINT, SIGTERM, SIGHUP};

// The pipe from the handlers to the window's thread, made once per process.
int tubo[2] = {-1, -1};
volatile sig_atomic_t richieste = 0;

// Async-signal-safe only: no Qt, no allocation.
void alSegnale(int segnale) {
    const int prima = errno;
    if (richieste > 0) {
        // Asked again while the window ends: it may be stuck, the user insists.
        rimuoviTemporaneiAperti();
        ::signal(segnale, SIG_DFL);
        ::raise(segnale);  // delivered as the handler returns
        return;
    }
    richieste = 1;
    const char c = static_cast<char>(segnale);
    (void)!::write(tubo[1], &c, 1);
    errno = prima;
}

bool installa() {
    if (tubo[0] >= 0) {
        return true;
    }
    if (::pipe2(tubo, O_CLOEXEC | O_NONBLOCK) != 0) {
        return false;
    }
    for (const int segnale : kSegnali) {
        struct sigaction prima {};
        if (::sigaction(segnale, nullptr, &prima) == 0 && prima.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction azione {};
        azione.sa_handler = alSegnale;
        sigemptyset(&azione.sa_mask);
        azione.sa_flags = SA_RESTART;
        ::sigaction(segnale, &azione, nullptr);
    }
    return true;
}

}  // namespace

bool chiudiAlSegnale(QWidget* finestra) {
    if (!installa()) {
        return false;
    }
    auto* notifica = new QSocketNotifier(tubo[0], QSocketNotifier::Read, finestra);
    QObject::connect(notifica, &QSocketNotifier::activated, finestra, [finestra] {
        char c[16];
        while (::read(tubo[0], c, sizeof c) > 0) {
        }
        finestra->close();
    });
    return true;
}

}  // namespace pliventa
