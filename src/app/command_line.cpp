// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/command_line.h"

#include "platform/code_page.h"
#include "text/index_key.h"

#include <vector>

CommandLine ParseCommandLine(std::span<const std::string_view> args) {
    CommandLine line;
    bool help = false;
    bool version = false;
    bool selection = false;
    bool options = true;
    std::vector<std::string_view> words;
    for (const std::string_view arg : args) {
        if (options && arg == "--") {
            options = false;
        } else if (options && (arg == "--help" || arg == "-h")) {
            help = true;
        } else if (options && arg == "--version") {
            version = true;
        } else if (options && arg == "--selection") {
            selection = true;
        } else if (options && arg.size() > 1 && arg.front() == '-') {
            line.action = CommandAction::UsageError;
            line.error = "unknown option " + std::string(arg);
            return line;
        } else {
            words.push_back(arg);
        }
    }
    if (help || version) {
        line.action = help ? CommandAction::Help : CommandAction::Version;
        return line;
    }
    if (words.size() > 1 || (selection && !words.empty())) {
        line.action = CommandAction::UsageError;
        line.error = selection ? "--selection takes no word" : "one word at most";
        return line;
    }
    if (selection) {
        line.request.kind = RequestKind::Selection;
    } else if (!words.empty()) {
        line.request.kind = RequestKind::Lookup;
        line.request.word = platform::FromUtf8(words.front()).substr(0, kMaxBoxUnits);
    }
    return line;
}

std::string UsageText() {
    return "Usage: kelimbo [WORD]\n"
           "       kelimbo --selection\n"
           "       kelimbo --help | --version\n"
           "\n"
           "Kelimbo, a Russian-Esperanto dictionary. Opens its window with WORD in\n"
           "the search box. When Kelimbo is already running, the word goes to that\n"
           "window instead, which comes to the front.\n"
           "\n"
           "  --selection  look up the text selected in any program (the primary\n"
           "               selection, or the clipboard where there is none)\n"
           "  --help       show this help and exit\n"
           "  --version    show the version and exit\n"
           "  --           end of the options: what follows is the word\n"
           "\n"
           "Exit status: 0 when the window ran or took the word, 1 when a running\n"
           "Kelimbo did not take it, 2 for wrong usage.\n";
}

std::string VersionText() {
    return "kelimbo " KELIMBO_VERSION "\n";
}
