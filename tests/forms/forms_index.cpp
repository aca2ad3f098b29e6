// SPDX-License-Identifier: GPL-2.0-or-later
#include "forms_index.h"

#include "platform/code_page.h"
#include "support/temp_dir.h"

namespace forms_index {
namespace {

std::string Readable(std::string_view ansi) {
    return platform::ToUtf8(platform::FromAnsi(ansi));
}

std::string LinesText(const cIndex& index, const forms::Offered& offered) {
    std::string text;
    for (const forms::OfferedLine& line : offered.lines) {
        const std::string_view headword = index.HeadwordText(line.position);
        const std::string& form = offered.forms.at(line.form).key;
        if (!text.empty()) {
            text += ' ';
        }
        text += Readable(headword);
        if (form != headword) {
            text += '/';
            text += Readable(form);
        }
    }
    return text;
}

} // namespace

std::string OfferedText(const forms::FormFinder& finder, const cIndex& index, bool esperanto,
                        std::string_view query) {
    return LinesText(index, finder.Offer(index, esperanto, query));
}

std::string FirstLinesText(const forms::FormFinder& finder, const cIndex& index, bool esperanto,
                           std::string_view query) {
    return LinesText(index, finder.BaseFormsFirst(index, esperanto, query));
}

} // namespace forms_index
