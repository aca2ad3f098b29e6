// SPDX-License-Identifier: GPL-2.0-or-later
// The request a later start hands to the running program: what goes in comes
// out, every beginning of a message waits for the rest, and anything that is
// not a message is refused as soon as it shows.
#include "instance/instance_message.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(InstanceMessage, EachRequestComesOutAsItWentInAndOnlyWhenWhole) {
    const InstanceRequest requests[] = {
        {RequestKind::Lookup, u"ŝipo"},
        {RequestKind::Lookup, u"\xD83D\xDE00 собака, пёс"}, // a surrogate pair, blanks
        {RequestKind::Lookup, u""},
        {RequestKind::Lookup, std::u16string(kMaxRequestUnits, u'\xFFFF')},
        {RequestKind::Selection, u""},
        {RequestKind::Raise, u""},
    };
    for (const InstanceRequest& request : requests) {
        const std::string message = EncodeRequest(request);
        for (std::size_t n = 0; n < message.size(); ++n) {
            EXPECT_EQ(DecodeRequest(message.substr(0, n)).status, DecodeStatus::Incomplete)
                << n << " of " << message.size() << " bytes";
        }
        const DecodedRequest decoded = DecodeRequest(message);
        EXPECT_EQ(decoded.status, DecodeStatus::Complete);
        EXPECT_EQ(decoded.request, request) << request.word.size() << " units";
    }
    // A longer word is cut where the message's limit is.
    const std::string cut =
        EncodeRequest({RequestKind::Lookup, std::u16string(kMaxRequestUnits + 7, u'a')});
    EXPECT_EQ(DecodeRequest(cut).request.word.size(), kMaxRequestUnits);
}

TEST(InstanceMessage, WhatIsNoRequestIsMalformedAsSoonAsItShows) {
    const std::string lookup = EncodeRequest({RequestKind::Lookup, u"ab"});
    const auto with = [&](std::size_t at, char byte) {
        std::string changed = lookup;
        changed[at] = byte;
        return changed;
    };
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"another magic, at its first byte", "X"},
        {"another magic", with(3, 'X')},
        {"version 2", with(4, 2).substr(0, 5)},
        {"version 0", with(4, 0)},
        {"kind 0", with(5, 0).substr(0, 6)},
        {"kind 4", with(5, 4)},
        {"a selection with a word", with(5, static_cast<char>(RequestKind::Selection))},
        {"a raise with a word", with(5, static_cast<char>(RequestKind::Raise))},
        {"a word over the limit", std::string("KLMB\x01\x01\x01\x04", 8)},
        {"a byte after the request", lookup + '\0'},
        {"two requests", lookup + lookup},
        {"an HTTP request", "GET / HTTP/1.0\r\n\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeRequest(c.bytes).status, DecodeStatus::Malformed) << c.what;
    }
}

} // namespace
