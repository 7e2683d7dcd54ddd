#include "generate/word_lists.h"

// Each escape ends its own string literal, so that the letters after it are
// not read as more hex digits.

const char* const GenreNames[32] = {
    "Drama",       "Komedija",   "Akcija",       "Triler",     "Romantika",
    "Kriminalka",  "Pustolov\x9A" "\xE8" "ina", "Animacija", "Dokumentarec",
    "Fantazija",   "Grozljivka", "Znanstvena fantastika",     "Dru\x9E" "inski",
    "Skrivnost",   "Zgodovinski", "Biografija",  "Glasba",     "Vojni",
    "Vestern",     "\x8A" "port", "Muzikal",     "Kratki",     "Mladinski",
    "Satira",      "Noir",       "Katastrofa",   "Ep",         "Psiholo\x9A" "ki",
    "Politi\xE8" "ni", "Umetni\x9A" "ki", "Eksperimentalni", "Nemi"};

const char* const TitleWords[] = {
    "Zima",     "Reka",      "No\xE8",       "Vlak",       "Ljubljana",
    "Sonce",    "Gora",      "Morje",        "Srce",       "Pot",
    "\x8A" "epet", "\xC8" "as", "\x8E" "ivljenje", "Ko\x9A" "ava", "Ve\xE8" "er",
    "Mesto",    "Sanje",     "Dom",          "Ogenj",      "Veter",
    "Zadnji",   "Prvi",      "Tihi",         "Dolgi",      "Skrivni",
    "Zlati",    "\xC8" "rni", "Beli",         "Izgubljeni", "Ve\xE8" "ni",
    "Winter",   "River",     "Night",        "Train",      "Shadow",
    "Light",    "Stone",     "Island",       "Storm",      "Garden",
    "Return",   "Silence",   "Journey",      "Empire",     "Harbour",
    "Kekec",    "Tri",       "Sedem",        "Sto",        "Tiso\xE8"};

const int32_t NTitleWords =
    static_cast<int32_t>(sizeof TitleWords / sizeof TitleWords[0]);
