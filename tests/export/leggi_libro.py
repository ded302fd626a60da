"""Prints what a spreadsheet reader finds in an .xlsx workbook, one line a cell,
for the export tests: a reader that shares no code with the writer.

Usage: leggi_libro.py BOOK.xlsx [MAX_ROW]

First line: "fogli<TAB>name|name...". Then, for every cell that holds a value or a
style of its own, up to MAX_ROW (all rows when absent):
    REF<TAB>KIND<TAB>VALUE<TAB>bold|-<TAB>NUMBER_FORMAT
KIND is s (text), n (number), d (date), f (formula: VALUE is the formula, "=",
then the stored result) or b (empty with a style). Numbers are written with
repr(), dates as yyyy-mm-dd.
"""
import sys

import openpyxl


def valore(v):
    if isinstance(v, (int, float)):
        return repr(float(v))
    return str(v)


def main():
    percorso = sys.argv[1]
    massimo = int(sys.argv[2]) if len(sys.argv) > 2 else None
    formule = openpyxl.load_workbook(percorso, read_only=True)
    risultati = openpyxl.load_workbook(percorso, read_only=True, data_only=True)
    print("fogli\t" + "|".join(formule.sheetnames))
    righe = zip(formule.active.iter_rows(max_row=massimo),
                risultati.active.iter_rows(max_row=massimo))
    for riga_f, riga_v in righe:
        for cf, cv in zip(riga_f, riga_v):
            if not hasattr(cf, "coordinate"):
                continue  # an empty cell of read-only mode
            grassetto = "bold" if cf.font is not None and cf.font.b else "-"
            formato = cf.number_format
            if cf.data_type == "f":
                tipo, testo = "f", "%s=%s" % (cf.value, valore(cv.value))
            elif cf.value is None:
                tipo, testo = "b", ""
            elif cf.is_date:
                tipo, testo = "d", cf.value.date().isoformat()
            elif cf.data_type == "n":
                tipo, testo = "n", valore(cf.value)
            else:
                tipo, testo = "s", cf.value
            print("\t".join([cf.coordinate, tipo, testo, grassetto, formato]))


if __name__ == "__main__":
    main()
