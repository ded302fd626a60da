"""The report of bench/misura.py: the machine, the table of ratios, the targets
of the benchmarks and docs/benchmarks.md, which each run rewrites (the analysis
of the targets missed is kept in bench/note.md and copied in)."""
import datetime
import os
import shutil
import subprocess
import time

QUI = os.path.dirname(os.path.abspath(__file__))
FOGLIO = 1_048_574  # payments an .xlsx sheet holds below its header and totals
MIB = 1024
MILIONE = 1_000_000

# Floors and peers of each kind of operation, by the name of the contestant.
PAVIMENTI = ("cat", "cp", "dd conv=fsync", "grep -c", "libro_minimo")
PARI = ("grep", "awk", "python3-xlsxwriter")


def leggi(percorso):
    try:
        with open(percorso) as f:
            return f.read()
    except OSError:
        return ""


def comando(*args):
    try:
        return subprocess.run(args, capture_output=True, text=True).stdout.strip()
    except OSError:
        return ""


def carico():
    return " ".join(leggi("/proc/loadavg").split()[:3])


def macchina(cartella):
    """CPU, cores, memory and the disk the benchmark files were on, and the
    versions of the yardsticks."""
    cpu = next((l.split(":", 1)[1].strip() for l in leggi("/proc/cpuinfo").splitlines()
                if l.startswith("model name")), "?")
    mem = next((int(l.split()[1]) for l in leggi("/proc/meminfo").splitlines()
                if l.startswith("MemTotal")), 0)
    df = comando("df", "-h", "--output=source,fstype,size,avail", cartella).splitlines()
    disco = df[1].split() if len(df) > 1 else ["?"]
    nome, taglia, rotante, *modello = (comando("lsblk", "-dno", "NAME,SIZE,ROTA,MODEL",
                                              disco[0]).split() or ["?", "?", "?"]) + [""]
    lsblk = "%s, %s, rotational %s%s" % (nome, taglia, rotante,
                                          ", " + " ".join(modello).strip() if modello[0] else "")
    awk = os.path.realpath(shutil.which("awk") or "awk")
    return {
        "CPU": cpu,
        "cores": str(os.cpu_count()),
        "memory": "%.1f GiB" % (mem / 1024 / 1024),
        "disk": ("%s, %s, %s (%s free); lsblk: %s" % (*disco[:4], lsblk) if len(disco) >= 4
                 else lsblk),
        "kernel": os.uname().release,
        "grep": comando("grep", "--version").splitlines()[0],
        "awk": "%s (%s)" % (awk, (comando("awk", "-W", "version").splitlines() or ["?"])[0]),
        "libxlsxwriter": comando("dpkg-query", "-W", "-f", "${Version}", "libxlsxwriter-dev")
        or comando("pkg-config", "--modversion", "xlsxwriter"),
        "python3-xlsxwriter": comando("/usr/bin/python3", "-c",
                                      "import xlsxwriter; print(xlsxwriter.__version__)"),
    }


def ms(s):
    return "%.1f" % (s * 1000) if s < 10 else "%.0f" % (s * 1000)


def potenza(n):
    if n == FOGLIO:
        return "1,048,574"
    e = len(str(n)) - 1
    return "10^%d" % e if n == 10 ** e else "{:,}".format(n)


class Esito:
    """Everything one run measured, and how it is written out."""

    def __init__(self, args, taglie, cartella):
        self.args = args
        self.taglie = taglie
        self.misure = []  # Misure of bench/misura.py
        self.record = []  # (n, cold ms, warm ms)
        self.finestra = {}  # name -> (process wall ms, printed ms, peak RSS KiB)
        self.fine_elenco = None  # list window, Ctrl+End: (last row, ms, MiB beyond the window)
        self.inizio = time.time()
        self.carichi = [carico()]
        self.info = macchina(cartella)
        self.n_obiettivo = max(n for n in taglie if n <= MILIONE)

    def fine(self):
        self.carichi.append(carico())
        self.durata = time.time() - self.inizio

    def modo(self):
        return "--big" if self.args.big else "--quick" if self.args.quick else "default"

    # --- the table -------------------------------------------------------------

    def tabella(self):
        righe = ["| operation | payments | ours ms | ours CPU ms | MB/s | payments/s | peak MiB "
                 "| ours / floor | ours / peer |",
                 "|---|---:|---:|---:|---:|---:|---:|---|---|"]
        for m in self.misure:
            t = m.tempo()

            def rapporti(nomi):
                return "<br>".join("%s %s ms: **%.2f×**" % (c.nome, ms(m.tempo(c)),
                                                           m.rapporto(c.nome))
                                   for c in m.altri if c.nome in nomi) or "–"

            righe.append("| %s | %s | %s | %s | %.0f | %s | %.1f | %s | %s |" % (
                m.operazione, potenza(m.n), ms(t), ms(m.cpu()), m.byte / 1e6 / t,
                "{:,.0f}".format(m.n / t), m.picco() / MIB, rapporti(PAVIMENTI),
                rapporti(PARI)))
        return righe

    def memoria(self):
        taglie = sorted({m.n for m in self.misure})
        righe = ["| operation | " + " | ".join(potenza(n) for n in taglie) + " |",
                 "|---|" + "---:|" * len(taglie)]
        per_op = {}
        for m in self.misure:
            per_op.setdefault(m.operazione, {})[m.n] = m.picco()
        for op, v in per_op.items():
            righe.append("| %s | " % op + " | ".join(
                "%.1f" % (v[n] / MIB) if n in v else "" for n in taglie) + " |")
        return righe

    # --- the targets -----------------------------------------------------------

    def trova(self, op, n=None):
        n = n or self.n_obiettivo
        return next((m for m in self.misure if m.operazione == op and m.n == n), None)

    def obiettivi(self):
        """(what, target, measured, met) for each target the run can judge."""
        out = []

        def aggiungi(cosa, obiettivo, figura, tenuto):
            out.append((cosa, obiettivo, figura, "met" if tenuto else "**not met**"))

        for op in ("import cnc2000", "import cnc1997", "import viol1997"):
            m = self.trova(op)
            if m:
                a, d, g = m.rapporto("cat"), m.rapporto("dd conv=fsync"), m.rapporto("grep")
                aggiungi("%s, %s lines" % (op, potenza(m.n)),
                         "≤ 1.5× cat, ≥ 2× faster than grep",
                         "%.2f× cat (%.2f× dd conv=fsync), %.1f× faster than grep"
                         % (a, d, 1 / g), a <= 1.5 and g <= 0.5)
        for op, limite in (("import f24", 1.5), ("risconet", 2.0)):
            m = self.trova(op)
            if m:
                a, d = m.rapporto("cat"), m.rapporto("dd conv=fsync")
                aggiungi("%s, %s lines" % (op, potenza(m.n)), "≤ %.1f× cat" % limite,
                         "%.2f× cat (%.2f× dd conv=fsync)" % (a, d), a <= limite)
        for op in ("search", "summary --by anno", "list filter, prefix",
                   "list filter, anomalies"):
            m = self.trova(op)
            if m:
                a = m.rapporto("grep -c")
                aggiungi("%s, %s payments" % (op, potenza(m.n)), "≤ 1.5× grep -c",
                         "%.2f× grep -c" % a, a <= 1.5)
        # The passes that cost CPU per record run on every core: within 1.5× the
        # bare scan of the same file, our search.
        for op in ("summary --by anno", "check", "list filter, anomalies"):
            m = self.trova(op)
            if m and m.rapporto("search"):
                a = m.rapporto("search")
                aggiungi("%s, %s payments" % (op, potenza(m.n)), "≤ 1.5× search",
                         "%.2f× search" % a, a <= 1.5)
        for colonna in ("cf", "totale:desc", "data"):
            m = self.trova("list --sort " + colonna, 10_000_000)
            if m:
                t = m.tempo()
                # Bytes a row beyond what the process holds sorting the smallest file.
                piccolo = min((x for x in self.misure if x.operazione.startswith("list --sort")),
                              key=lambda x: x.n)
                riga = (m.picco() - piccolo.picco()) * 1024 / (m.n - piccolo.n)
                aggiungi("list --sort %s, 10^7 payments" % colonna,
                         "≤ 3 s on two cores, ≤ 8 B a row (+ a bit or two a record)",
                         "%.2f s, peak %.0f MiB (%.1f B a row)" % (t, m.picco() / 1024, riga),
                         t <= 3 and riga <= 8.25)
        m = self.trova("export", FOGLIO if self.n_obiettivo == MILIONE else None)
        if m:
            a, p = m.rapporto("libro_minimo"), m.rapporto("python3-xlsxwriter")
            aggiungi("export, %s payments" % potenza(m.n),
                     "≤ 1.3× bare libxlsxwriter, ≥ 3× faster than python3-xlsxwriter",
                     "%.2f× libro_minimo, %.1f× faster than python3-xlsxwriter" % (a, 1 / p),
                     a <= 1.3 and p <= 1 / 3)
        if self.record:
            caldo = max(c for _, _, c in self.record)
            freddo = max(f for _, f, _ in self.record)
            aggiungi("record display, any n of 10^7", "< 1 ms warm",
                     "%.4f ms warm (cold %.2f ms)" % (caldo, freddo), caldo < 1)
        if self.fine_elenco:
            ultimo, ms_, mib = self.fine_elenco
            aggiungi("list window on 10^7 payments, Ctrl+End",
                     "the last row at once; < 64 MiB beyond the main window",
                     "row %s drawn in %.1f ms; %.1f MiB beyond the main window"
                     % (ultimo, ms_, mib),
                     ultimo == "10000000" and ms_ < 100 and mib < 64)
        if "avvio" in self.finestra:
            muro, dentro, _ = self.finestra["avvio"]
            aggiungi("window start-up, offscreen", "< 300 ms",
                     "%.0f ms, process start to first frame (%.0f ms from main())"
                     % (muro, dentro), muro < 300)
        # Peak memory of every operation from the smallest size to the target's. The
        # operations that look for duplicate payments hold a table of at most 16
        # bytes a payment, the list holds 4 bytes a row it shows and its order 8
        # in all while it sorts (and a bit or two a record): that much growth is
        # theirs by design, the rest must stay flat.
        concessi = {"summary --by anno": 16, "check": 16, "list filter, anomalies": 16 + 4,
                    "list filter, prefix": 4, "list --sort cf": 8.25, "list --sort totale:desc": 8.25}
        per_op = {}
        for m in self.misure:
            if m.n <= FOGLIO:
                per_op.setdefault(m.operazione, []).append(m)
        if per_op:
            piatte, peggiore = [], (None, 0)
            for op, lista in per_op.items():
                lista.sort(key=lambda x: x.n)
                piccolo, grande = lista[0].picco(), lista[-1].picco()
                concesso = concessi.get(op, 0) * (lista[-1].n - lista[0].n) / 1024
                if grande - concesso > piccolo * 1.1 + 1024 or grande >= 64 * MIB:
                    piatte.append(op)
                if grande > peggiore[1]:
                    peggiore = (op, grande)
            figura = "largest %.1f MiB (%s)" % (peggiore[1] / MIB, peggiore[0])
            if piatte:
                figura += "; grows: " + ", ".join(piatte)
            aggiungi("peak memory, every operation, 10^4 → %s" % potenza(self.n_obiettivo),
                     "flat (duplicates' table 16 B a payment, the list's rows 4 B, its order "
                     "8 B in all), < 64 MiB", figura, not piatte)
        return out

    # --- output ------------------------------------------------------------------

    def testo_console(self):
        righe = ["%-24s %9s %9s %8s %7s %12s %6s  %s" % (
            "operation", "payments", "ours ms", "CPU ms", "MB/s", "payments/s", "MiB",
            "ours / yardstick")]
        for m in self.misure:
            t = m.tempo()
            righe.append("%-24s %9s %9s %8s %7.0f %12s %6.1f  %s" % (
                m.operazione, potenza(m.n), ms(t), ms(m.cpu()), m.byte / 1e6 / t,
                "{:,.0f}".format(m.n / t), m.picco() / MIB,
                "  ".join("%s %.2f×" % (c.nome, m.rapporto(c.nome)) for c in m.altri)))
        brevi = {"avvio": "window start-up", "elenco_core": "list open (core)",
                 "elenco_qt": "list window"}
        for k, (muro, dentro, rss) in self.finestra.items():
            righe.append("%-24s %9s %9.0f %8s %7s %12s %6.1f  in-process %.1f ms" % (
                brevi[k], "10^7" if k != "avvio" else "", muro, "", "", "", rss / MIB, dentro))
        righe.append("")
        for cosa, obiettivo, figura, tenuto in self.obiettivi():
            righe.append("%-46s %-34s %s  [%s]" % (cosa, obiettivo, figura,
                                                   tenuto.replace("*", "")))
        return "\n".join(righe)

    def documento(self):
        t = []
        a = t.append
        a("# Benchmarks")
        a("")
        a("Written by `make bench` (`bench/misura.py`, mode %s, %d rounds) on %s; every run "
          "rewrites this file, so edit `bench/note.md` instead. A figure is the median wall "
          "time of paired runs: ours and its yardsticks alternate round by round, so load "
          "that drifts weighs on both. A ratio is the median of the per-round ratios ours / "
          "yardstick: below 1 ours is faster. Absolute times hold for this machine only."
          % (self.modo(), self.args.giri, datetime.datetime.now().strftime("%Y-%m-%d %H:%M")))
        a("")
        a("## Machine")
        a("")
        a("| | |")
        a("|---|---|")
        for k, v in self.info.items():
            a("| %s | %s |" % (k, v))
        a("| load average (1, 5, 15 min) | %s at the start, %s at the end |"
          % tuple(self.carichi))
        a("| duration | %.0f s |" % self.durata)
        a("")
        a("The machine may be shared with other jobs (compilers, tests) while the benchmark "
          "runs: the load average above says how busy it was. Only paired ratios are "
          "compared with the targets; the CPU column (user + system time of ours, with the "
          "few milliseconds of `/usr/bin/time` itself) is the figure least moved by load.")
        a("")
        a("## Targets")
        a("")
        if self.n_obiettivo != MILIONE:
            a("Mode %s: judged at %s payments, not at the 10^6 the targets name."
              % (self.modo(), potenza(self.n_obiettivo)))
            a("")
        a("| what | target | measured | |")
        a("|---|---|---|---|")
        for r in self.obiettivi():
            a("| %s | %s | %s | %s |" % r)
        a("")
        a("## Every operation")
        a("")
        a("Inputs come from `pliventa-genera` (seed 7 for the payment files, 11 for the work "
          "files). Imports and the Risconet conversion: *payments* are input lines and MB/s "
          "is of the input; `cat INPUT > OUTPUT` and `cp` are the floor of a filter, `dd "
          "conv=fsync` the same copy made durable (as the import makes its work file), "
          "`grep -E` and `awk` doing the same line selection (LC_ALL=C) the peer. Work-file "
          "operations: MB/s of the work file; `grep -c` with the same selection (the "
          "codice fiscale prefix for the search and the prefix filter, the record type "
          "otherwise) is the floor of one scan. The export's floor is `bench/libro_minimo.c` "
          "(the same cells with libxlsxwriter alone), its peer `bench/libro_python.py` "
          "(python3-xlsxwriter, constant memory); at the 10^6 size it exports a full sheet, "
          "1,048,574 payments. The list filters run in `bench/elenco_bench`. Every figure "
          "includes starting the process.")
        a("")
        t.extend(self.tabella())
        a("")
        a("## Peak memory (MiB, `/usr/bin/time -v`)")
        a("")
        t.extend(self.memoria())
        a("")
        a("## Record access and the window")
        a("")
        if self.record:
            a("Payment *n* of a work file of 10^7 payments shown as the main window shows it "
              "(`leggirecord`, then `mostrarecord`: `bench/record_bench.cpp`). Cold: the "
              "file's pages out of the page cache (%s); warm: the median of 2001 displays."
              % ("all caches dropped, run as root" if os.geteuid() == 0
                 else "posix_fadvise DONTNEED"))
            a("")
            a("| n | cold ms | warm ms |")
            a("|---:|---:|---:|")
            for n, f, c in self.record:
                a("| {:,} | {:.3f} | {:.4f} |".format(n, f, c))
            a("")
        nomi = {
            "avvio": "main window: start to first frame (`finestra_bench avvio`, offscreen)",
            "elenco_core": "list on 10^7 payments: open and the first 40 rows "
                           "(`elenco_bench apri`, core only)",
            "elenco_qt": "list window on 10^7 payments: menu command to first frame "
                         "(`finestra_bench elenco`, offscreen)",
        }
        if self.finestra:
            a("| what | process wall ms | in-process ms | peak MiB |")
            a("|---|---:|---:|---:|")
            for k, nome in nomi.items():
                if k in self.finestra:
                    muro, dentro, rss = self.finestra[k]
                    a("| %s | %.0f | %.1f | %.1f |" % (nome, muro, dentro, rss / MIB))
            a("")
        note = leggi(os.path.join(QUI, "note.md")).rstrip()
        if note:
            a(note)
            a("")
        return "\n".join(t)
