#include "cli/json.h"

#include <algorithm>

#include "records/somma.h"
#include "records/testo.h"

namespace pliventa::cli {

namespace {

constexpr char kEsadecimali[] = "0123456789abcdef";

void aggiungiControllo(std::string& out, unsigned codice) {
    out += "\\u00";
    out += kEsadecimali[(codice >> 4) & 0xF];
    out += kEsadecimali[codice & 0xF];
}

void aggiungiChiave(std::string& out, std::string_view chiave) {
    out += '"';
    out += chiave;
    out += "\":";
}

}  // namespace

void aggiungiStringa(std::string& out, std::string_view cp1252) {
    out += '"';
    for (const char c : cp1252) {
        const auto b = static_cast<unsigned char>(c);
        if (b == '"' || b == '\\') {
            out += '\\';
            out += c;
        } else if (b < 0x20 || b == 0x7F) {
            aggiungiControllo(out, b);
        } else if (b < 0x80) {
            out += c;
        } else {
            // The five bytes Windows-1252 leaves undefined decode to the C1 control
            // characters of the same number: escape them like the others.
            const std::string utf8 = daCp1252(std::string_view(&c, 1));
            if (utf8.size() == 2 && static_cast<unsigned char>(utf8[0]) == 0xC2 &&
                static_cast<unsigned char>(utf8[1]) < 0xA0) {
                aggiungiControllo(out, b);
            } else {
                out += utf8;
            }
        }
    }
    out += '"';
}

void aggiungiStringaUtf8(std::string& out, std::string_view utf8) {
    out += '"';
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b == '"' || b == '\\') {
            out += '\\';
            out += utf8[i];
        } else if (b < 0x20 || b == 0x7F) {
            aggiungiControllo(out, b);
        } else if (b == 0xC2 && i + 1 < utf8.size() &&
                   static_cast<unsigned char>(utf8[i + 1]) < 0xA0 &&
                   static_cast<unsigned char>(utf8[i + 1]) >= 0x80) {
            // A C1 control character, as the undefined Windows-1252 bytes decode.
            aggiungiControllo(out, static_cast<unsigned char>(utf8[++i]));
        } else {
            out += utf8[i];
        }
    }
    out += '"';
}

void aggiungiNumero(std::string& out, std::string_view campo, bool centesimi) {
    out += testoEsatto(leggiNumero(campo), centesimi);
}

void aggiungiVersamento(std::string& out, const Versamento& v, std::uint64_t numero,
                        const OpzioniJson& opzioni) {
    const bool violazione = v.violazione();
    out += '{';
    aggiungiChiave(out, "record");
    out += std::to_string(numero);
    out += ',';
    aggiungiChiave(out, "tipo");
    aggiungiStringa(out, v.byte().substr(25, 1));  // column 26, the record type
    out += ',';
    aggiungiChiave(out, "violazione");
    out += violazione ? "true" : "false";
    out += ',';
    aggiungiChiave(out, "data_versamento");
    aggiungiStringa(out, v.dataVersamento());
    out += ',';
    aggiungiChiave(out, "codice_fiscale");
    aggiungiStringa(out, v.campo(Campo::codicefiscale));
    out += ',';
    aggiungiChiave(out, "numero_fabbricati");
    aggiungiNumero(out, v.campo(Campo::numerofabbricati), false);

    // The amounts in the order of the record area: the deduction (field 13)
    // comes before the other buildings (field 12).
    static constexpr struct {
        std::string_view chiave;
        Campo campo;
    } kImporti[] = {
        {"totale", Campo::totale},
        {"terreni", Campo::terreni},
        {"aree_fabbricabili", Campo::areefabbricabili},
        {"abitazione_principale", Campo::abitazioneprincipale},
        {"detrazione", Campo::detrazione},
        {"altri_fabbricati", Campo::altrifabbricati},
    };
    for (const auto& importo : kImporti) {
        out += ',';
        aggiungiChiave(out, importo.chiave);
        aggiungiNumero(out, v.campo(importo.campo), opzioni.euro);
    }

    out += ',';
    aggiungiChiave(out, "anno");
    if (violazione) {
        out += "null";
    } else {
        aggiungiStringa(out, v.annoImpostaCompleto());
    }
    if (violazione) {
        const EstremiAtto atto = v.estremi(opzioni.lettura);
        out += ',';
        aggiungiChiave(out, "numero_atto");
        aggiungiStringa(out, atto.numero);
        out += ',';
        aggiungiChiave(out, "data_atto");
        aggiungiStringa(out, atto.data);
    } else {
        out += ",\"numero_atto\":null,\"data_atto\":null";
    }
    out += '}';
}

}  // namespace pliventa::cli
