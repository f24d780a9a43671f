#pragma once

#include "discovery/category.h"

#include <QList>

namespace corvane::discovery {

// Where a stem may stand in an identifier's folded text.
enum class Place : quint8 {
    Anywhere,  // also inside a word: "geburt" in "geburtsdatum"
    WordStart, // at the start of a word: "city" in "cityname", not in "ethnicity"
    Words,     // whole words only: "ip", "dob", "tel"
};

enum StemFlag : quint8 {
    NeedsPerson = 1 << 0,    // a person's only where a word around names one ("name")
    LongText = 1 << 1,       // free text only in long text columns
    PersonWord = 1 << 2,     // names a person: "customer", "kunde", "patient"
    AddressWord = 1 << 3,    // names an address record: "address", "adresse"
    Blocker = 1 << 4,        // describes the data, is not it: "type", "status", "verified"
    Neutral = 1 << 5,        // leaves "name" as it is: "full", "display", "str"
};

struct Stem
{
    const char* text;  // folded: lower-case ASCII letters and digits
    Category category; // None for context words and for stems that rule a finding out
    Detail detail;
    Place place;
    quint8 confidence; // per cent
    quint8 flags;
    const char* language; // "en", "de", "fr", "es", "nl" or "" for several
};

// Every stem the name matcher knows, in the five languages.
const QList<Stem>& Vocabulary();

} // namespace corvane::discovery
