#include "checks/controlli.h"

#include <gtest/gtest.h>

#include <string>

#include "righe.h"

namespace pliventa {
namespace {

using test::pulito;
using test::RigaVersamento;

// The check characters below were worked out by hand from the odd and even
// position tables, not by the code under test; a valid code with any other
// character in its last place is wrong.
TEST(CodiceFiscale, PersonalCompanyAndHomocodeCodes) {
    const struct {
        const char* codice;
        bool valido;
    } casi[] = {
        {"RSSMRA80A01H501U", true},
        {"BNCLRA80B41F205F", true},   // a woman: the day plus 40
        {"RSSMRA80A01H50MM", true},   // homocode: the last digit 1 became M
        {"VRDGPP55T10L219A", true},   // check character A
        {"RSSMRATLALMHRLMB", true},   // a homocode in letters only
        {"RSSMRA80A017501U", false},  // a digit for the birthplace letter: same check
        {"RSSMRA80A01H50MU", false},  // homocode letter, check of the original code kept
        {"RSSMRA80A71H501B", true},   // a woman born on the 31st
        {"RSSMRA80A32H501C", false},  // no day 32, check worked out on it
        {"RSSMRA80A01H501", false},   // 15 characters
        {"01234567897", true},        // company codes: ten digits and a check digit
        {"80123456784", true},
        {"0123456789", false},  // ten digits
        {"", false},
    };
    for (const auto& c : casi) {
        EXPECT_EQ(codiceFiscaleValido(c.codice), c.valido) << c.codice;
        for (const char k : std::string_view("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789")) {
            std::string altro = c.codice;
            if (c.valido && k != altro.back()) {
                altro.back() = k;
                EXPECT_FALSE(codiceFiscaleValido(altro)) << altro;
            }
        }
    }
}

/// A record as the F24 import builds it, with the total in columns 63-74.
RigaVersamento f24(const char* colonna63) {
    return pulito()
        .colonne(1, "999")
        .colonne(63, colonna63)
        .colonne(123, "002000000001")
        .colonne(160, "99999")
        .colonne(170, "020");
}

// Only a negative total that no F24 compensation explains is an anomaly.
TEST(TotaleNegativo, CreditsLargerThanDebitsUnlessAnF24Compensation) {
    const auto totale = [](const char* colonna63) {  // the unread column, then field 8
        return RigaVersamento().colonne(63, colonna63);
    };
    const struct {
        const char* caso;
        RigaVersamento riga;
        bool compensazione, valido;
    } casi[] = {
        {"debito", totale("000000123456"), false, true},
        {"credito come lo scrive l'F24", totale("0-0000012345"), false, false},
        {"spazi saltati", totale("0 -000000001"), false, false},
        {"meno zero", totale("0-0000000000"), false, true},
        {"colonna 63 fuori dal totale", totale("-00000000001"), false, true},
        {"credito F24", f24("0-0000012345"), true, true},
        {"debito F24", f24("000000012345"), false, true},
        {"senza 999", f24("0-0000012345").colonne(1, "   "), false, false},
        {"senza 002000000001", f24("0-0000012345").colonne(123, "            "), false, false},
    };
    for (const auto& c : casi) {
        const Versamento v = c.riga.versamento();
        EXPECT_EQ(compensazioneF24(v), c.compensazione) << c.caso;
        EXPECT_EQ(totaleNonNegativo(v), c.valido) << c.caso;
    }
}

/// A payment of kind `tipo` with the amounts "TOTAL = F9 F10 F11 F12 F13" in cents:
/// fields 8 to 13, one after the other from column 64.
Versamento importi(char tipo, std::string testo) {
    std::erase_if(testo, [](char c) { return c == ' ' || c == '='; });
    return RigaVersamento().tipo(tipo).colonne(64, testo).versamento();
}

TEST(SommaParti, OrdinaryFourAmountsViolationAlsoInterest) {
    const struct {
        char tipo;
        const char* importi;
        bool corretta;
    } casi[] = {
        // Ordinary: the four amounts; the deduction only lowered them and is not added.
        {'3', "00000123456 = 0000100000 0000020000 0000003000 0000000456 00000000", true},
        {'3', "00000123456 = 0000100000 0000020000 0000003000 0000000456 00010329", true},
        {'3', "00000123457 = 0000100000 0000020000 0000003000 0000000456 00000000", false},
        {'3', "00000133785 = 0000100000 0000020000 0000003000 0000000456 00010329", false},
        // An F24 credit: the total and one part below zero.
        {'3', "-0000001000 = 0000000234 0000000000 -000001234 0000000000 00000000", true},
        // Violation: tax, penalties, pecuniary penalty, other buildings and interest.
        {'6', "00000133785 = 0000100000 0000020000 0000003000 0000000456 00010329", true},
        {'6', "00000123456 = 0000100000 0000020000 0000003000 0000000456 00010329", false},
        {'6', "00000123456 = 0000100000 0000020000 0000003000 0000000456 00000000", true},
        // The largest amounts the fields hold add up without loss.
        {'3', "39999999996 = 9999999999 9999999999 9999999999 9999999999 00000000", true},
        {'3', "39999999995 = 9999999999 9999999999 9999999999 9999999999 00000000", false},
    };
    for (const auto& c : casi) {
        EXPECT_EQ(sommaPartiCorretta(importi(c.tipo, c.importi)), c.corretta)
            << c.tipo << " " << c.importi;
    }
}

TEST(Controlla, OneBitPerRuleBroken) {
    constexpr Violazioni cf = 1, data = 2, anno = 4, negativo = 8, somma = 16;
    const struct {
        const char* caso;
        RigaVersamento riga;
        Violazioni attese;
    } casi[] = {
        {"pulito", pulito(), 0},
        {"tutto in bianco", RigaVersamento(), cf | data},
        {"anno e somma",
         pulito().campo(Campo::annoimposta, "04").campo(Campo::totale, "00000012346"),
         anno | somma},
        {"credito",
         pulito().colonne(63, "0-0000012345").campo(Campo::abitazioneprincipale, "-000012345"),
         negativo},
        {"31 febbraio", pulito().data("20030231").cf("RSSMRA80A01H501 "), cf | data},
        // The tax year (paid 2003) is checked only when both years can be read.
        {"anno arretrato", pulito().campo(Campo::annoimposta, "02"), 0},
        {"anno seguente", pulito().campo(Campo::annoimposta, "04"), anno},
        {"anno in bianco", pulito().campo(Campo::annoimposta, "  "), 0},
        {"anno illeggibile", pulito().campo(Campo::annoimposta, "X4"), 0},
        {"data illeggibile", pulito().data("20X30715").campo(Campo::annoimposta, "04"), data},
    };
    for (const auto& c : casi) {
        EXPECT_EQ(controlla(c.riga.versamento()), c.attese) << c.caso;
    }
}

TEST(ValoreControllato, WhatEachRuleLookedAt) {
    const RigaVersamento riga = pulito()
                                    .data("20030231")
                                    .cf("RSSMRA80A01H5\xC8  ")  // È, a Windows-1252 byte
                                    .campo(Campo::annoimposta, "92")
                                    .colonne(63, "0-0000012345")
                                    .campo(Campo::terreni, "0000000005")
                                    .campo(Campo::detrazione, "00000100");
    const Versamento v = riga.versamento();
    const struct {
        Regola regola;
        bool euro;
        std::string atteso;
    } casi[] = {
        {Regola::codice_fiscale, true, "RSSMRA80A01H5\xC3\x88"},
        {Regola::data_versamento, true, "31/02/2003"},
        {Regola::anno_imposta, true, "anno 2092, versamento 2003"},
        {Regola::totale_negativo, true, "-123.45"},
        {Regola::somma_parti, true, "totale -123.45, parti 123.50"},
        {Regola::somma_parti, false, "totale -12345, parti 12350"},
    };
    for (const auto& c : casi) {
        EXPECT_EQ(valoreControllato(v, c.regola, c.euro), c.atteso)
            << nomeRegola(c.regola) << " euro=" << c.euro;
    }
    // The window's text: the amounts as the record display shows them.
    EXPECT_EQ(valoreMostrato(v, Regola::somma_parti, "E", Separatori{}),
              "totale -123,45, parti 123,50");
    // A violation payment adds the interest in field 13 to its parts.
    EXPECT_EQ(
        valoreControllato(RigaVersamento(riga).tipo('6').versamento(), Regola::somma_parti, true),
        "totale -123.45, parti 124.50");
}

}  // namespace
}  // namespace pliventa
