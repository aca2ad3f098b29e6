// SPDX-License-Identifier: GPL-2.0-or-later
#include "revo/revo_labels.h"

#include <algorithm>
#include <iterator>

namespace {

struct Label {
    std::string_view code;
    std::string_view label;
};

// Sorted by code.
constexpr Label kFields[] = {
    {"AGR", "с.-х."},   {"ANA", "анат."},        {"ARKE", "археол."}, {"ARKI", "архит."},
    {"AST", "астр."},   {"AUT", "авто"},         {"AVI", "ав."},      {"BAK", "бакт."},
    {"BELA", "иск."},   {"BELE", "лит."},        {"BIB", "библ."},    {"BIO", "биол."},
    {"BOT", "бот."},    {"BUD", "будд."},        {"EKOL", "экол."},   {"EKON", "экон."},
    {"ELE", "эл."},     {"ELET", "электротех."}, {"ESP", "эсп."},     {"FER", "ж.-д."},
    {"FIL", "филос."},  {"FIZ", "физ."},         {"FIZL", "физиол."}, {"FON", "фон."},
    {"FOT", "фото"},    {"GEN", "генеал."},      {"GEOD", "геод."},   {"GEOG", "геогр."},
    {"GEOL", "геол."},  {"GRA", "грам."},        {"HER", "геральд."}, {"HIN", "инд."},
    {"HIS", "ист."},    {"HOR", "садов."},       {"ISL", "ислам."},   {"JUR", "юр."},
    {"KAL", "календ."}, {"KAT", "катол."},       {"KEM", "хим."},     {"KIN", "кино"},
    {"KIR", "хир."},    {"KOMP", "комп."},       {"KON", "строит."},  {"KRI", "христ."},
    {"KUI", "кул."},    {"LIN", "лингв."},       {"MAH", "марксизм"}, {"MAR", "мор."},
    {"MAS", "маш."},    {"MAT", "мат."},         {"MED", "мед."},     {"MET", "метеор."},
    {"MIL", "воен."},   {"MIN", "минер."},       {"MIT", "миф."},     {"MUZ", "муз."},
    {"NOM", "имя"},     {"PAL", "палеонт."},     {"PED", "пед."},     {"PERS", "персона"},
    {"POE", "поэт."},   {"POL", "полит."},       {"POSX", "почт."},   {"PRA", "доист."},
    {"PSI", "психол."}, {"RAD", "радио"},        {"REL", "рел."},     {"RET", "интернет"},
    {"SCI", "науч."},   {"SHI", "судох."},       {"SPO", "спорт."},   {"TEA", "театр."},
    {"TEK", "тех."},    {"TEKS", "текст."},      {"TEL", "связь"},    {"TIP", "полигр."},
    {"TRA", "трансп."}, {"ZOO", "зоол."},
};

constexpr Label kStyles[] = {
    {"ARK", "арх."},    {"EVI", "устар."}, {"FAK", "спец."}, {"FIG", "перен."}, {"FRAZ", "фраз."},
    {"KOMUNE", "общ."}, {"NEO", "неол."},  {"POE", "поэт."}, {"RAR", "редк."},  {"VULG", "вульг."},
};

constexpr Label kKinds[] = {
    {"abs.", "абс."},           {"adj.", "прил."},
    {"adjektivo", "прил."},     {"adv.", "нареч."},
    {"adverbo", "нареч."},      {"determinilo", "определитель"},
    {"ekkrio", "межд."},        {"interjekcio", "межд."},
    {"konjunkcio", "союз"},     {"ntr", "неперех."},
    {"prefikso", "приставка"},  {"prepozicia\u0135o", "предложное выражение"},
    {"prepozicio", "предлог"},  {"pronomo", "мест."},
    {"sonimito", "звукоподр."}, {"subordigilo", "союз"},
    {"sufikso", "суффикс"},     {"tr", "перех."},
};

template <std::size_t N> constexpr bool Sorted(const Label (&table)[N]) {
    return std::is_sorted(std::begin(table), std::end(table),
                          [](const Label& a, const Label& b) { return a.code < b.code; });
}
static_assert(Sorted(kFields) && Sorted(kStyles) && Sorted(kKinds));

template <std::size_t N> const Label* Find(const Label (&table)[N], std::string_view code) {
    const Label* found =
        std::lower_bound(std::begin(table), std::end(table), code,
                         [](const Label& l, std::string_view c) { return l.code < c; });
    return found != std::end(table) && found->code == code ? found : nullptr;
}

} // namespace

std::string FieldLabel(std::string_view code) {
    const Label* found = Find(kFields, code);
    return std::string(found != nullptr ? found->label : code);
}

std::string StyleLabel(std::string_view code) {
    const Label* found = Find(kStyles, code);
    return std::string(found != nullptr ? found->label : code);
}

std::string GrammarLabel(std::string_view kind) {
    const Label* found = Find(kKinds, kind);
    return std::string(found != nullptr ? found->label : std::string_view());
}
