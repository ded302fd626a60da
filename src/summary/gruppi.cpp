// The summary's groups one at a time: a payment's own group, the column headers
// and the amounts in the order of the columns.
#include "checks/controlli.h"
#include "summary/riepilogo.h"

namespace pliventa {

GruppoRiepilogo gruppoDi(const Versamento& v) {
    GruppoRiepilogo g;
    g.versamenti = 1;
    g.violazioni = v.violazione() ? 1 : 0;
    g.anomalie = controlla(v) != 0 ? 1 : 0;
    for (std::size_t j = 0; j < kCampiRiepilogo.size(); ++j) {
        (v.violazione() ? g.violazione : g.ordinari)[j].aggiungi(
            leggiNumero(v.campo(kCampiRiepilogo[j])));
    }
    return g;
}

std::vector<std::string_view> intestazioniRiepilogo(Raggruppamento r) {
    std::vector<std::string_view> out;
    switch (r) {
        case Raggruppamento::anno:
            out = {"Anno", "Tipo"};
            break;
        case Raggruppamento::mese:
            out = {"Mese"};
            break;
        case Raggruppamento::comune:
            out = {"Comune"};
            break;
    }
    // The violation payments' captions are those of the main window for such a
    // payment; its field 12 keeps the caption of the ordinary one there, so the
    // column says the kind.
    for (std::string_view h :
         {"Versamenti", "Versamenti su violazione", "Totale", "Terreni", "Aree fabbricabili",
          "Abitazione principale", "Detrazione", "Altri fabbricati", "Imposta", "Sanzioni",
          "Pena pec.", "Interessi", "Altri fabbricati su violazione", "Anomalie"}) {
        out.push_back(h);
    }
    return out;
}

std::array<SommaEsatta, kColonneImporto> importiRiepilogo(const GruppoRiepilogo& g) {
    std::array<SommaEsatta, kColonneImporto> out;
    out[0] = g.ordinari[0];
    out[0].aggiungi(g.violazione[0]);
    for (std::size_t j = 1; j < kCampiRiepilogo.size(); ++j) {
        out[j] = g.ordinari[j];
        out[j + kCampiRiepilogo.size() - 1] = g.violazione[j];
    }
    return out;
}

std::string_view nomeRaggruppamento(Raggruppamento r) {
    switch (r) {
        case Raggruppamento::anno:
            return "anno";
        case Raggruppamento::mese:
            return "mese";
        case Raggruppamento::comune:
            return "comune";
    }
    return {};
}

}  // namespace pliventa
