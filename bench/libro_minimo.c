/* The floor for the export: the same cells of a work file written with
 * libxlsxwriter alone, with the least code around it (no checks beyond the
 * library's result, fixed columns parsed with strtod). Usage:
 * libro_minimo WORKFILE BOOK.xlsx */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <xlsxwriter.h>

#define RECORD 202

static double campo(const char *r, int da, int n) {
    char b[16];
    memcpy(b, r + da, (size_t)n);
    b[n] = 0;
    return strtod(b, NULL);
}

static const int inizio[6] = {63, 74, 84, 94, 114, 104};
static const int larghezza[6] = {11, 10, 10, 10, 8, 10};

int main(int argc, char **argv) {
    if (argc != 3) {
        fprintf(stderr, "uso: libro_minimo WORKFILE BOOK.xlsx\n");
        return 2;
    }
    FILE *in = fopen(argv[1], "rb");
    if (!in) {
        perror(argv[1]);
        return 1;
    }
    static char blocco[RECORD * 4096];
    double somme[6] = {0}, fabbricati = 0;
    long n = 0;
    size_t letti;
    while ((letti = fread(blocco, RECORD, 4096, in)) > 0) {
        for (size_t i = 0; i < letti; i++) {
            const char *r = blocco + i * RECORD;
            fabbricati += campo(r, 164, 4);
            for (int k = 0; k < 6; k++) somme[k] += campo(r, inizio[k], larghezza[k]);
            n++;
        }
    }
    lxw_workbook_options o = {.constant_memory = LXW_TRUE, .tmpdir = NULL, .use_zip64 = 0};
    lxw_workbook *wb = workbook_new_opt(argv[2], &o);
    lxw_worksheet *ws = workbook_add_worksheet(wb, "Estrazione 01-01-2005 00.00.00");
    lxw_format *importo = workbook_add_format(wb);
    format_set_num_format(importo, "#,##0.00");
    lxw_format *totale = workbook_add_format(wb);
    format_set_num_format(totale, "#,##0.00");
    format_set_bold(totale);
    lxw_format *grassetto = workbook_add_format(wb);
    format_set_bold(grassetto);
    lxw_format *data = workbook_add_format(wb);
    format_set_num_format(data, "dd/mm/yyyy");
    worksheet_set_column(ws, 3, 8, 15, importo);
    const char *intest[12] = {"Data Versamento", "Cod.Fiscale",  "NumFabbr",     "Totale",
                              "Terreni",         "Aree Fabbr.",  "Abit. Princ.", "Detr. Ab.Pr.",
                              "Altri Fabbr.",    "Anno",         "N. Atto",      "Data Atto"};
    for (int c = 0; c < 12; c++) worksheet_write_string(ws, 0, (lxw_col_t)c, intest[c], NULL);
    worksheet_write_number(ws, 1, 0, (double)n, grassetto);
    worksheet_write_number(ws, 1, 2, fabbricati, grassetto);
    char f[32];
    for (int c = 3; c <= 8; c++) {
        snprintf(f, sizeof f, "=SUM(%c3:%c%ld)", 'A' + c, 'A' + c, n + 2 > 65536 ? n + 2 : 65536);
        worksheet_write_formula_num(ws, 1, (lxw_col_t)c, f, totale, somme[c - 3] / 100);
    }
    rewind(in);
    lxw_row_t riga = 2;
    char testo[32];
    while ((letti = fread(blocco, RECORD, 4096, in)) > 0) {
        for (size_t i = 0; i < letti; i++, riga++) {
            const char *r = blocco + i * RECORD;
            snprintf(testo, sizeof testo, "%.2s/%.2s/%.4s", r + 32, r + 30, r + 26);
            worksheet_write_string(ws, riga, 0, testo, NULL);
            snprintf(testo, sizeof testo, "%.16s", r + 34);
            worksheet_write_string(ws, riga, 1, testo, NULL);
            worksheet_write_number(ws, riga, 2, campo(r, 164, 4), NULL);
            for (int k = 0; k < 6; k++)
                worksheet_write_number(ws, riga, (lxw_col_t)(3 + k),
                                       campo(r, inizio[k], larghezza[k]) / 100, importo);
            if (r[25] != '6') {
                double anno = campo(r, 50, 2);
                worksheet_write_number(ws, riga, 9, anno < 93 ? 2000 + anno : 1900 + anno, NULL);
            } else {
                snprintf(testo, sizeof testo, "%.9s", r + 174);
                worksheet_write_string(ws, riga, 10, testo, NULL);
                lxw_datetime d = {(int)campo(r, 187, 4), (int)campo(r, 185, 2),
                                  (int)campo(r, 183, 2), 0, 0, 0};
                worksheet_write_datetime(ws, riga, 11, &d, data);
            }
        }
    }
    fclose(in);
    return workbook_close(wb) == LXW_NO_ERROR ? 0 : 1;
}
