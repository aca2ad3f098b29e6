// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The request a later start of the program hands to the running one, over a
// local socket: one request per connection, answered by one byte: kAccepted
// once the running program has taken it, kRefused when it cannot take any
// now (it shows no window, or it is ending). All integers little-endian:
//
//   "KLMB" · version (1 byte, 1) · kind (1 byte) · N (2 bytes) · N UTF-16 units
//
// Kinds: 1 look the word up; 2 look up the text selected in any program (no
// word); 3 come to the front (no word). Anything else, another version, a
// word over kMaxRequestUnits, a word with kinds 2 and 3, or bytes after the
// request make the message malformed: the running program ignores it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

enum class RequestKind : std::uint8_t { Lookup = 1, Selection = 2, Raise = 3 };

struct InstanceRequest {
    RequestKind kind = RequestKind::Raise;
    std::u16string word; // Lookup only
    bool operator==(const InstanceRequest&) const = default;
};

inline constexpr std::uint8_t kRequestVersion = 1;
inline constexpr std::size_t kMaxRequestUnits = 1024;
inline constexpr char kAccepted = 0x06;
inline constexpr char kRefused = 0x15;

enum class Answer { Accepted, Refused, Unknown };

// The answer's byte (Unknown is never sent: it is written as kRefused), and
// the answer a byte stands for.
char EncodeAnswer(Answer answer);
Answer DecodeAnswer(char byte);

// The message of a request; a longer word is cut at kMaxRequestUnits.
std::string EncodeRequest(const InstanceRequest& request);

enum class DecodeStatus { Complete, Incomplete, Malformed };

struct DecodedRequest {
    DecodeStatus status = DecodeStatus::Incomplete;
    InstanceRequest request; // when Complete
};

// Reads the bytes received so far on one connection: Incomplete while they
// are the beginning of a well-formed message, Malformed as soon as they
// cannot be.
DecodedRequest DecodeRequest(std::string_view bytes);
