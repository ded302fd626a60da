#!/usr/bin/python3
"""make bench: every hot path of Pliventa timed beside its floor and its peer.

Each operation runs on inputs made by our seeded generator at 10^4, 10^5 and 10^6
payments (--quick: up to 10^5; --big: up to 10^7). Ours and its yardsticks run in
alternating rounds, so a machine that drifts (other jobs, thermal limits) weighs
on both alike; a ratio is the median of the per-round ratios. Each run starts
with its output gone and dirty pages written back (sync). Peak memory comes
from /usr/bin/time -v, CPU time (user + system) from the children's rusage. The table is printed and written, with the
targets and the machine, to docs/benchmarks.md (bench/documento.py).

Standard library only: run it with /usr/bin/python3 (make bench does).
"""
import argparse
import os
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

import documento

QUI = os.path.dirname(os.path.abspath(__file__))
RADICE = os.path.dirname(QUI)
TIME = "/usr/bin/time"
# The yardsticks run in the C locale: the generated files are Windows-1252, which
# GNU grep would take for binary in a UTF-8 locale. It is also their fastest mode.
AMBIENTE_C = dict(os.environ, LC_ALL="C")
FOGLIO = documento.FOGLIO
RECORD = 202


class Concorrente:
    """One command of a round: ours, a floor or a peer."""

    def __init__(self, nome, comando, uscita=None, stdout=None, codici=(0,), ambiente=None):
        self.nome = nome
        self.comando = comando
        self.uscita = uscita  # a file the command writes, removed before each run
        self.stdout = stdout  # where its standard output goes (None: a scratch file)
        self.codici = codici  # exit statuses that mean success (grep -c: 1 is "none")
        self.ambiente = ambiente
        self.tempi = []  # wall seconds, one per round
        self.cpu = []  # user + system seconds, one per round
        self.memorie = []  # peak RSS in KiB, one per run


def picco_v(percorso):
    """Peak RSS (KiB) from the report of /usr/bin/time -v."""
    with open(percorso) as f:
        for riga in f:
            chiave, _, valore = riga.strip().rpartition(": ")
            if chiave == "Maximum resident set size (kbytes)":
                return int(valore)
    return 0


def cpu_figli():
    """User + system seconds of the children waited for so far (microseconds, where
    /usr/bin/time only gives hundredths)."""
    r = resource.getrusage(resource.RUSAGE_CHILDREN)
    return r.ru_utime + r.ru_stime


def esegui(c, cartella):
    """Runs `c` once; returns its wall seconds and CPU seconds, and keeps its peak RSS."""
    for p in (c.uscita, c.stdout):
        if p and os.path.exists(p):
            os.remove(p)
    os.sync()
    rapporto_v = os.path.join(cartella, "time-v.txt")
    # Never /dev/null: GNU grep notices it and stops at the first match.
    with open(c.stdout or os.path.join(cartella, "stdout.txt"), "wb") as out:
        cpu = cpu_figli()
        inizio = time.perf_counter()
        r = subprocess.run([TIME, "-v", "-o", rapporto_v] + c.comando, stdout=out,
                           stderr=subprocess.PIPE, env=c.ambiente)
        secondi = time.perf_counter() - inizio
        cpu = cpu_figli() - cpu
    if r.returncode not in c.codici:
        sys.exit("%s: uscito con %d\n%s" % (" ".join(c.comando), r.returncode,
                                            r.stderr.decode(errors="replace")[-2000:]))
    c.memorie.append(picco_v(rapporto_v))
    return secondi, cpu


def gara(concorrenti, giri, cartella, riscalda=True):
    """Paired runs: one untimed run each (programs and input in the page cache, as
    after the input was made), then `giri` rounds in which the order turns, so no
    one always goes first."""
    for c in concorrenti if riscalda else []:
        esegui(c, cartella)
    for g in range(giri):
        k = g % len(concorrenti)
        for c in concorrenti[k:] + concorrenti[:k]:
            muro, cpu = esegui(c, cartella)
            c.tempi.append(muro)
            c.cpu.append(cpu)


class Misure:
    """The results of one operation at one size; the first contestant is ours."""

    def __init__(self, operazione, n, byte, concorrenti):
        self.operazione = operazione
        self.n = n
        self.byte = byte
        self.nostro = concorrenti[0]
        self.altri = concorrenti[1:]

    def tempo(self, c=None):
        return statistics.median((c or self.nostro).tempi)

    def cpu(self):
        return statistics.median(self.nostro.cpu)

    def rapporto(self, nome):
        """Median of the per-round ratios ours / `nome`."""
        for c in self.altri:
            if c.nome == nome:
                return statistics.median(
                    x / y for x, y in zip(self.nostro.tempi, c.tempi) if y > 0)
        return None

    def picco(self):
        return max(self.nostro.memorie)


# --- inputs ------------------------------------------------------------------


class Ingressi:
    """The generated files, made once per size and kept while they are needed."""

    def __init__(self, cartella, build):
        self.cartella = cartella
        self.gen = os.path.join(build, "tools", "pliventa-genera")
        self.cli = os.path.join(build, "src", "cli", "pliventa-cli")
        self.fatti = {}

    def file(self, tracciato, righe):
        chiave = (tracciato, righe)
        if chiave not in self.fatti:
            p = os.path.join(self.cartella, "%s-%d.txt" % (tracciato, righe))
            with open(p, "wb") as f:
                subprocess.run([self.gen, tracciato, "--righe", str(righe), "--seme", "7"],
                               stdout=f, check=True)
            self.fatti[chiave] = p
        return self.fatti[chiave]

    def archivio(self, n):
        """A work file of exactly `n` payments of a generated ANCI-CNC 2000 file
        (a tenth more lines are generated: some are not payments). Ten million are
        copies of the largest work file already made, which is quicker."""
        chiave = ("archivio", n)
        if chiave in self.fatti:
            return self.fatti[chiave]
        p = os.path.join(self.cartella, "lavoro-%d.out" % n)
        pezzi = [m for (k, m) in self.fatti if k == "archivio" and n % m == 0 and m >= n // 100]
        if n >= 10_000_000 and pezzi:
            pezzo = self.fatti[("archivio", max(pezzi))]
            with open(p, "wb") as out:
                for _ in range(n // max(pezzi)):
                    with open(pezzo, "rb") as f:
                        shutil.copyfileobj(f, out, 1 << 20)
        else:
            sorgente = os.path.join(self.cartella, "sorgente.txt")
            with open(sorgente, "wb") as f:
                subprocess.run([self.gen, "cnc2000", "--righe", str(n + n // 10 + 100),
                                "--seme", "11"], stdout=f, check=True)
            subprocess.run([self.cli, "import", "cnc2000", sorgente, "-o", p], check=True,
                           stderr=subprocess.DEVNULL)
            os.remove(sorgente)
            if os.path.getsize(p) < n * RECORD:
                sys.exit("il file di lavoro generato ha meno di %d versamenti" % n)
        os.truncate(p, n * RECORD)
        self.fatti[chiave] = p
        return p

    def butta(self, tracciato, righe):
        p = self.fatti.pop((tracciato, righe), None)
        if p:
            os.remove(p)


# --- operations ----------------------------------------------------------------

# The lines each import keeps, as grep and awk select them: the record type in
# column 26 for the CNC layouts, "G1" and the "I" of column 260 for F24, every
# line but the header for Risconet (grep -v drops it).
SELEZIONI = {
    "cnc2000": ("^.{25}[36]", "substr($0,26,1) ~ /[36]/"),
    "cnc1997": ("^.{25}3", "substr($0,26,1) == \"3\""),
    "viol1997": ("^.{25}6", "substr($0,26,1) == \"6\""),
    "f24": ("^G1.{257}I", "substr($0,1,2) == \"G1\" && substr($0,260,1) == \"I\""),
    "risconet": ("^PROGR;", "NR > 1"),
}


def importazione(prog, cartella, tracciato, ingresso):
    uscita = os.path.join(cartella, "nostro.out")
    if tracciato == "risconet":
        nostro = [prog["cli"], "risconet", ingresso, "--belfiore", "Z999", "-o", uscita]
    else:
        nostro = [prog["cli"], "import", tracciato, ingresso, "-o", uscita]
    altro = os.path.join(cartella, "altro.out")
    modello, programma = SELEZIONI[tracciato]
    grep = ["grep", "-E", modello, ingresso]
    if tracciato == "risconet":
        grep = ["grep", "-v", "-E", modello, ingresso]
    return [
        Concorrente("pliventa-cli", nostro, uscita=uscita),
        Concorrente("cat", ["cat", ingresso], stdout=altro),
        Concorrente("cp", ["cp", ingresso, altro], uscita=altro),
        # The same bytes read and written in user space, then made durable as the
        # import makes its work file (fsync before the rename).
        Concorrente("dd conv=fsync", ["dd", "if=" + ingresso, "of=" + altro, "bs=128K",
                                      "conv=fsync", "status=none"], uscita=altro),
        Concorrente("grep", grep, stdout=altro, codici=(0, 1), ambiente=AMBIENTE_C),
        Concorrente("awk", ["awk", programma, ingresso], stdout=altro, ambiente=AMBIENTE_C),
    ]


def grep_c(archivio, modello="^.{25}[36]"):
    """One scan of the work file counting lines, the floor of any scan."""
    return Concorrente("grep -c", ["grep", "-c", "-E", modello, archivio], codici=(0, 1),
                       ambiente=AMBIENTE_C)


def prefisso(archivio):
    """Six letters of the first payment's codice fiscale: a search finds a few."""
    if not archivio:
        return ""
    with open(archivio, "rb") as f:
        return f.read(40)[34:40].decode("ascii")


def scansioni(prog, cartella, archivio):
    """Operations that read the work file once, each against grep -c; those that
    cost CPU per record also against our own search, the bare scan."""
    p = prefisso(archivio)
    cerca = "^.{34}" + p  # the codice fiscale starts in column 35
    ricerca = Concorrente("search", [prog["cli"], "search", archivio, p])
    yield "dump", [
        Concorrente("pliventa-cli", [prog["cli"], "dump", archivio],
                    stdout=os.path.join(cartella, "nostro.out")),
        Concorrente("cat", ["cat", archivio], stdout=os.path.join(cartella, "altro.out")),
        grep_c(archivio),
    ]
    yield "search", [
        Concorrente("pliventa-cli", [prog["cli"], "search", archivio, p]),
        grep_c(archivio, cerca),
    ]
    yield "summary --by anno", [
        Concorrente("pliventa-cli", [prog["cli"], "summary", archivio, "--by", "anno"]),
        grep_c(archivio),
        ricerca,
    ]
    yield "list filter, prefix", [
        Concorrente("elenco_bench", [prog["elenco"], "prefisso", archivio, p]),
        grep_c(archivio, cerca),
    ]
    yield "list filter, anomalies", [
        Concorrente("elenco_bench", [prog["elenco"], "anomalie", archivio]),
        grep_c(archivio),
        ricerca,
    ]
    # The list's order: a sort of the rows by a column, against GNU sort of the
    # same lines by the same columns (stable, so ties stay in file order).
    for colonna, campo in (("cf", "-k1.35,1.50"), ("totale:desc", None)):
        concorrenti = [Concorrente("pliventa-cli",
                                   [prog["cli"], "list", archivio, "--sort", colonna])]
        if campo:
            concorrenti.append(Concorrente("sort -s", ["sort", "-s", campo, archivio],
                                           ambiente=AMBIENTE_C))
        yield "list --sort " + colonna, concorrenti
    yield "check", [
        Concorrente("pliventa-cli", [prog["cli"], "check", archivio]),
        grep_c(archivio),
        ricerca,
    ]


def esportazione(prog, cartella, archivio):
    def libro(nome):
        return os.path.join(cartella, nome + ".xlsx")

    return [
        Concorrente("pliventa-cli", [prog["cli"], "export", archivio, "-o", libro("nostro")],
                    uscita=libro("nostro")),
        Concorrente("libro_minimo", [prog["minimo"], archivio, libro("minimo")],
                    uscita=libro("minimo")),
        Concorrente("python3-xlsxwriter",
                    ["/usr/bin/python3", os.path.join(QUI, "libro_python.py"), archivio,
                     libro("python")], uscita=libro("python")),
    ]


# --- single measurements: record access and the window -------------------------


def record(prog, archivio):
    """Cold and warm display of payments spread over the file: (n, cold ms, warm ms)."""
    r = subprocess.run([prog["record"], archivio], capture_output=True, text=True, check=True)
    righe = [l.split() for l in r.stdout.split("\n") if l.strip()]
    return [(int(n), float(f), float(c)) for n, f, c in righe]


def ripeti(comando, volte, cartella, ambiente=None):
    """A command that prints its own milliseconds, run `volte` times: median wall
    ms of the process, median printed ms and peak RSS (KiB)."""
    muri, stampati, memorie = [], [], []
    rapporto_v = os.path.join(cartella, "time-v.txt")
    for _ in range(volte):
        inizio = time.perf_counter()
        r = subprocess.run([TIME, "-v", "-o", rapporto_v] + comando, capture_output=True,
                           text=True, env=ambiente)
        muri.append((time.perf_counter() - inizio) * 1000)
        if r.returncode != 0:
            sys.exit("%s: uscito con %d\n%s" % (" ".join(comando), r.returncode, r.stderr[-2000:]))
        stampati.append(float(r.stdout.split()[-1]))
        memorie.append(picco_v(rapporto_v))
    return statistics.median(muri), statistics.median(stampati), max(memorie)


def fine_elenco(prog, archivio, volte, ambiente):
    """The list window on `archivio`, Ctrl+End: the row it ends on, the median ms
    to that row drawn and the most MiB the list took beyond the main window."""
    righe, ms, mib = [], [], []
    for _ in range(volte):
        r = subprocess.run([prog["finestra"], "fine", archivio], capture_output=True, text=True,
                           env=ambiente, check=True)
        ultimo, memoria, tempo = r.stdout.split()[-3:]
        righe.append(ultimo)
        mib.append(float(memoria))
        ms.append(float(tempo))
    return righe[-1], statistics.median(ms), max(mib)


# --- main -----------------------------------------------------------------------


def main():
    ap = argparse.ArgumentParser(description="I benchmark di Pliventa (make bench).")
    ap.add_argument("--quick", action="store_true", help="fino a 10^5 versamenti")
    ap.add_argument("--big", action="store_true", help="anche 10^7 versamenti")
    ap.add_argument("--giri", type=int, default=5, help="giri di misure appaiate (5)")
    ap.add_argument("--build", default=os.environ.get("PLIVENTA_BUILD",
                                                      os.path.join(RADICE, "build", "release")),
                    help="la build di release (build/release)")
    ap.add_argument("--solo", default="",
                    help="solo le operazioni il cui nome contiene questo testo; "
                         "docs/benchmarks.md non viene riscritto")
    ap.add_argument("--doc", default=os.path.join(RADICE, "docs", "benchmarks.md"))
    args = ap.parse_args()
    if args.quick and args.big:
        ap.error("--quick e --big si escludono")

    b = os.path.abspath(args.build)
    prog = {
        "cli": os.path.join(b, "src", "cli", "pliventa-cli"),
        "elenco": os.path.join(b, "bench", "elenco_bench"),
        "minimo": os.path.join(b, "bench", "libro_minimo"),
        "record": os.path.join(b, "bench", "record_bench"),
        "finestra": os.path.join(b, "bench", "finestra_bench"),
    }
    for k, p in prog.items():
        if k != "finestra" and not os.access(p, os.X_OK):
            sys.exit("manca %s: compilare prima la build di release (make build-release)" % p)
    if not os.access(TIME, os.X_OK):
        sys.exit("manca /usr/bin/time (pacchetto time): make deps")

    taglie = [10_000, 100_000] if args.quick else [10_000, 100_000, 1_000_000]
    if args.big:
        taglie.append(10_000_000)

    os.makedirs(os.path.join(RADICE, "build"), exist_ok=True)
    cartella = tempfile.mkdtemp(prefix="bench-", dir=os.path.join(RADICE, "build"))
    ambiente_qt = dict(os.environ, QT_QPA_PLATFORM="offscreen",
                       XDG_CONFIG_HOME=os.path.join(cartella, "config"))
    os.environ["TMPDIR"] = cartella  # the export's scratch files, beside its inputs
    esito = documento.Esito(args, taglie, cartella)
    ingressi = Ingressi(cartella, b)

    def voglio(nome):
        return args.solo in nome

    def misura(nome, n, byte, concorrenti, giri=args.giri, riscalda=True):
        print("%-24s %10s ..." % (nome, documento.potenza(n)), end="", flush=True)
        gara(concorrenti, giri, cartella, riscalda)
        m = Misure(nome, n, byte, concorrenti)
        esito.misure.append(m)
        print(" %8s ms  " % documento.ms(m.tempo()) + "  ".join(
            "%s %.2f×" % (c.nome, m.rapporto(c.nome)) for c in m.altri), flush=True)

    try:
        for n in taglie:
            for t in ("cnc2000", "cnc1997", "viol1997", "f24", "risconet"):
                nome = "risconet" if t == "risconet" else "import " + t
                if voglio(nome):
                    ingresso = ingressi.file(t, n)
                    misura(nome, n, os.path.getsize(ingresso),
                           importazione(prog, cartella, t, ingresso))
                    ingressi.butta(t, n)
            operazioni = [nome for nome, _ in scansioni(prog, cartella, "")] + ["export"]
            if not any(voglio(nome) for nome in operazioni):
                continue
            archivio = ingressi.archivio(n)
            for nome, concorrenti in scansioni(prog, cartella, archivio):
                if voglio(nome):
                    misura(nome, n, os.path.getsize(archivio), concorrenti)
            if voglio("export") and n <= 1_000_000:
                # At 10^6 a full sheet: the export's target is set there.
                libro = ingressi.archivio(FOGLIO) if n == 1_000_000 else archivio
                righe = os.path.getsize(libro) // RECORD
                # The peer takes a minute or more on a full sheet: fewer rounds
                # there, and no warm-up (the work file was just written).
                grande = righe > 100_000
                misura("export", righe, os.path.getsize(libro),
                       esportazione(prog, cartella, libro),
                       giri=min(args.giri, 3) if grande else args.giri, riscalda=not grande)

        if voglio("record") or voglio("list window") or voglio("window") or \
                voglio("list --sort"):
            dieci = ingressi.archivio(10_000_000)
            if voglio("list --sort") and 10_000_000 not in taglie:
                # The order's target is set on ten million payments.
                for colonna in ("cf", "totale:desc", "data"):
                    misura("list --sort " + colonna, 10_000_000, os.path.getsize(dieci),
                           [Concorrente("pliventa-cli",
                                        [prog["cli"], "list", dieci, "--sort", colonna])],
                           giri=min(args.giri, 3))
            if voglio("record"):
                print("record display, 10^7 ...", end="", flush=True)
                esito.record = record(prog, dieci)
                print(" warm %.4f ms, cold %.3f ms" % (max(c for _, _, c in esito.record),
                                                      max(f for _, f, _ in esito.record)))
            if voglio("list window"):
                esito.finestra["elenco_core"] = ripeti([prog["elenco"], "apri", dieci],
                                                       args.giri, cartella)
                print("list, first screen on 10^7 (core): %.1f ms"
                      % esito.finestra["elenco_core"][1])
            if not os.access(prog["finestra"], os.X_OK):
                print("finestra_bench assente (build senza GUI): la finestra non è misurata")
            else:
                if voglio("window start-up"):
                    esito.finestra["avvio"] = ripeti([prog["finestra"], "avvio"], args.giri,
                                                     cartella, ambiente_qt)
                    print("window start-up: %.0f ms (%.0f ms from main())"
                          % esito.finestra["avvio"][:2])
                if voglio("list window"):
                    esito.finestra["elenco_qt"] = ripeti([prog["finestra"], "elenco", dieci],
                                                         args.giri, cartella, ambiente_qt)
                    print("list window, first frame on 10^7: %.0f ms"
                          % esito.finestra["elenco_qt"][1])
                    esito.fine_elenco = fine_elenco(prog, dieci, args.giri, ambiente_qt)
                    print("list window, Ctrl+End on 10^7: row %s in %.1f ms, %.1f MiB"
                          % esito.fine_elenco)
    finally:
        shutil.rmtree(cartella, ignore_errors=True)

    esito.fine()
    print()
    print(esito.testo_console())
    if not args.solo:
        os.makedirs(os.path.dirname(os.path.abspath(args.doc)), exist_ok=True)
        with open(args.doc, "w") as f:
            f.write(esito.documento())
        print("\nscritto %s" % os.path.relpath(args.doc, RADICE))


if __name__ == "__main__":
    main()
