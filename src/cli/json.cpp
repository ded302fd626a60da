#include "cli/json.h"

#include <algorithm>
#include <array>

#include "base/testo.h"
#include "records/somma.h"
#include "records/voci.h"

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
    // The fields in their order, each under its key.
    static constexpr std::array<std::string_view, kNumeroVoci> kChiavi = {
        "data_versamento",
        "codice_fiscale",
        "numero_fabbricati",
        "totale",
        "terreni",
        "aree_fabbricabili",
        "abitazione_principale",
        "detrazione",
        "altri_fabbricati",
        "anno",
        "numero_atto",
        "data_atto",
    };
    const EstremiAtto atto = violazione ? v.estremi(opzioni.lettura) : EstremiAtto{};
    for (const DescrizioneVoce& d : kVoci) {
        out += ',';
        aggiungiChiave(out, kChiavi[indice(d.voce)]);
        switch (d.genere) {
            case Genere::data:
                aggiungiStringa(out, v.dataVersamento());
                break;
            case Genere::testo:
                aggiungiStringa(out, v.campo(d.campo));
                break;
            case Genere::conteggio:
                aggiungiNumero(out, v.campo(d.campo), false);
                break;
            case Genere::importo:
                aggiungiNumero(out, v.campo(d.campo), opzioni.euro);
                break;
            case Genere::anno:
                // The four-digit year of an ordinary payment; a violation payment's
                // field holds no year of its own.
                if (violazione) {
                    out += "null";
                } else {
                    aggiungiStringa(out, v.annoImpostaCompleto());
                }
                break;
            case Genere::numeroAtto:
            case Genere::dataAtto:
                if (!violazione) {
                    out += "null";
                } else {
                    aggiungiStringa(out, d.genere == Genere::numeroAtto ? atto.numero : atto.data);
                }
                break;
        }
    }
    out += '}';
}

}  // namespace pliventa::cli
