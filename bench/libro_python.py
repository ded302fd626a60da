#!/usr/bin/python3
"""The export's peer: the workbook of bench/libro_minimo.c, cell for cell, written
with Debian's python3-xlsxwriter in constant-memory mode, as a colleague would
script it. Usage: libro_python.py WORKFILE BOOK.xlsx"""
import datetime
import sys

import xlsxwriter

RECORD = 202
# Total, land, building areas, main dwelling, other buildings, deduction: where
# each amount starts in the record (0-based) and how wide it is.
IMPORTI = [(63, 11), (74, 10), (84, 10), (94, 10), (114, 8), (104, 10)]
INTESTAZIONI = ["Data Versamento", "Cod.Fiscale", "NumFabbr", "Totale", "Terreni",
                "Aree Fabbr.", "Abit. Princ.", "Detr. Ab.Pr.", "Altri Fabbr.", "Anno",
                "N. Atto", "Data Atto"]


def numero(r, da, n):
    """The number in the field, 0 when it does not read as one (as strtod does)."""
    try:
        return float(r[da:da + n])
    except ValueError:
        return 0.0


def record(percorso):
    with open(percorso, "rb") as f:
        while True:
            blocco = f.read(RECORD * 4096)
            if not blocco:
                return
            for i in range(0, len(blocco) - RECORD + 1, RECORD):
                yield blocco[i:i + RECORD].decode("cp1252")


def main():
    if len(sys.argv) != 3:
        sys.stderr.write("uso: libro_python.py WORKFILE BOOK.xlsx\n")
        return 2
    lavoro, libro = sys.argv[1], sys.argv[2]
    somme = [0.0] * 6
    fabbricati = 0.0
    n = 0
    for r in record(lavoro):
        fabbricati += numero(r, 164, 4)
        for k, (da, lung) in enumerate(IMPORTI):
            somme[k] += numero(r, da, lung)
        n += 1

    wb = xlsxwriter.Workbook(libro, {"constant_memory": True})
    ws = wb.add_worksheet("Estrazione 01-01-2005 00.00.00")
    importo = wb.add_format({"num_format": "#,##0.00"})
    totale = wb.add_format({"num_format": "#,##0.00", "bold": True})
    grassetto = wb.add_format({"bold": True})
    data = wb.add_format({"num_format": "dd/mm/yyyy"})
    ws.set_column(3, 8, 15, importo)
    for c, testo in enumerate(INTESTAZIONI):
        ws.write_string(0, c, testo)
    ws.write_number(1, 0, n, grassetto)
    ws.write_number(1, 2, fabbricati, grassetto)
    ultima = max(n + 2, 65536)
    for c in range(3, 9):
        lettera = chr(ord("A") + c)
        ws.write_formula(1, c, "=SUM(%s3:%s%d)" % (lettera, lettera, ultima), totale,
                         somme[c - 3] / 100)
    riga = 2
    for r in record(lavoro):
        ws.write_string(riga, 0, "%s/%s/%s" % (r[32:34], r[30:32], r[26:30]))
        ws.write_string(riga, 1, r[34:50])
        ws.write_number(riga, 2, numero(r, 164, 4))
        for k, (da, lung) in enumerate(IMPORTI):
            ws.write_number(riga, 3 + k, numero(r, da, lung) / 100, importo)
        if r[25] != "6":
            anno = numero(r, 50, 2)
            ws.write_number(riga, 9, 2000 + anno if anno < 93 else 1900 + anno)
        else:
            ws.write_string(riga, 10, r[174:183])
            try:
                giorno = datetime.datetime(int(numero(r, 187, 4)), int(numero(r, 185, 2)),
                                           int(numero(r, 183, 2)))
                ws.write_datetime(riga, 11, giorno, data)
            except ValueError:
                ws.write_blank(riga, 11, None, data)
        riga += 1
    wb.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
