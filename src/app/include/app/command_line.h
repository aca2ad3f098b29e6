// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The window program's command line:
//
//   kelimbo [WORD]          the window, with WORD in the search box
//   kelimbo --selection     the window, with the text selected in any program
//   kelimbo --help | --version
//
// "--" ends the options, so that a word may begin with '-'. WORD is UTF-8;
// bytes that are not become U+FFFD, and a word is cut after the search box's
// kMaxBoxUnits, as typing it would be.

#include "instance/instance_message.h"

#include <span>
#include <string>
#include <string_view>

enum class CommandAction { Run, Help, Version, UsageError };

struct CommandLine {
    CommandAction action = CommandAction::Run;
    // What to show (Run): Lookup with the word, Selection, or Raise for none.
    InstanceRequest request;
    std::string error; // UsageError: what was wrong
};

// The arguments after the program's name.
CommandLine ParseCommandLine(std::span<const std::string_view> args);

// The text of --help (also after a usage error, on the error output), and of --version.
std::string UsageText();
std::string VersionText();
