// SPDX-License-Identifier: GPL-2.0-or-later
// What the base forms read that they did not write: an analyser's output line,
// taken apart into lemmas, and any word given to the Esperanto rules and the
// word analysis, over a small dictionary. The first byte chooses which.
#include "forms/esperanto_analysis.h"
#include "forms/esperanto_forms.h"
#include "forms/russian_analyser.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Require(bool property) {
    if (!property) {
        std::abort();
    }
}

bool Known(std::string_view key) {
    return key == "hundo" || key == "kuiri" || key == "-ej-" || key == "mal-" || key == "aao" ||
           key == "aaao" || key == "el" || key == "bona";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    if (data[0] % 2 == 0) {
        for (const std::string& lemma : forms::LemmasOfAnalysis(text)) {
            // A lemma is a non-empty piece of one reading, without its tags.
            Require(!lemma.empty() && lemma.find_first_of("/<$^") == std::string::npos);
        }
        return 0;
    }
    for (const forms::BaseForm& form : forms::EsperantoBaseForms(text)) {
        Require(!form.key.empty() && form.key != text);
    }
    std::size_t asked = 0;
    const auto parts = forms::AnalyseEsperantoWord(text, [&asked](std::string_view key) {
        ++asked;
        return Known(key);
    });
    Require(asked <= 20000);
    for (const forms::WordPart& part : parts) {
        Require(Known(part.key));
    }
    return 0;
}
