// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// ReVo's codes of fields, styles and parts of speech as the Russian labels a
// reader of either direction knows from Russian dictionaries.

#include <string>
#include <string_view>

// <uzo tip="fak">ZOO</uzo> → "зоол."; an unknown code is shown as it is.
std::string FieldLabel(std::string_view code);

// <uzo tip="stl">FIG</uzo> → "перен."; an unknown code is shown as it is.
std::string StyleLabel(std::string_view code);

// <vspec>tr</vspec> → "перех."; empty for a kind the articles do not show.
std::string GrammarLabel(std::string_view kind);
