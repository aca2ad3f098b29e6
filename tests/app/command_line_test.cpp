// SPDX-License-Identifier: GPL-2.0-or-later
// The window program's command line: what each form asks for, and what is
// wrong usage.
#include "app/command_line.h"
#include "text/index_key.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(CommandLine, EachFormAsksForItsActionAndRequest) {
    const std::string longWord(kMaxBoxUnits + 10, 'a'); // cut where the box cuts it
    const struct {
        std::vector<std::string_view> args;
        CommandAction action;
        InstanceRequest request;
    } cases[] = {
        {{}, CommandAction::Run, {RequestKind::Raise, u""}},
        {{"sxipo"}, CommandAction::Run, {RequestKind::Lookup, u"sxipo"}},
        {{"собака"}, CommandAction::Run, {RequestKind::Lookup, u"собака"}},
        {{"\xFF\xFEok"}, CommandAction::Run, {RequestKind::Lookup, u"\xFFFD\xFFFDok"}},
        {{longWord}, CommandAction::Run, {RequestKind::Lookup, std::u16string(kMaxBoxUnits, u'a')}},
        {{"--", "-ad-"}, CommandAction::Run, {RequestKind::Lookup, u"-ad-"}},
        {{"-"}, CommandAction::Run, {RequestKind::Lookup, u"-"}},
        {{"--selection"}, CommandAction::Run, {RequestKind::Selection, u""}},
        {{"--help"}, CommandAction::Help, {}},
        {{"sxipo", "-h"}, CommandAction::Help, {}},
        {{"--version"}, CommandAction::Version, {}},
        {{"--bogus"}, CommandAction::UsageError, {}},
        {{"--help", "-x"}, CommandAction::UsageError, {}},
        {{"two", "words"}, CommandAction::UsageError, {}},
        {{"--selection", "word"}, CommandAction::UsageError, {}},
    };
    for (const auto& c : cases) {
        const CommandLine line = ParseCommandLine(c.args);
        const std::string shown = c.args.empty() ? "(none)" : std::string(c.args.front());
        EXPECT_EQ(line.action, c.action) << shown;
        EXPECT_EQ(line.request, c.request) << shown;
        EXPECT_EQ(line.error.empty(), c.action != CommandAction::UsageError) << shown;
    }
}

} // namespace
