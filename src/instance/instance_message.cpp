// SPDX-License-Identifier: GPL-2.0-or-later
#include "instance/instance_message.h"

#include <algorithm>

namespace {

constexpr std::string_view kMagic = "KLMB";
constexpr std::size_t kHeaderSize = kMagic.size() + 4; // magic, version, kind, N

bool KnownKind(std::uint8_t kind) {
    return kind >= static_cast<std::uint8_t>(RequestKind::Lookup) &&
           kind <= static_cast<std::uint8_t>(RequestKind::Raise);
}

std::uint8_t Byte(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint8_t>(bytes[at]);
}

} // namespace

std::string EncodeRequest(const InstanceRequest& request) {
    const std::size_t units = std::min(request.word.size(), kMaxRequestUnits);
    std::string message(kMagic);
    message += static_cast<char>(kRequestVersion);
    message += static_cast<char>(request.kind);
    message += static_cast<char>(units & 0xFF);
    message += static_cast<char>(units >> 8);
    for (std::size_t i = 0; i < units; ++i) {
        const char16_t unit = request.word[i];
        message += static_cast<char>(unit & 0xFF);
        message += static_cast<char>(unit >> 8);
    }
    return message;
}

DecodedRequest DecodeRequest(std::string_view bytes) {
    const DecodedRequest malformed{DecodeStatus::Malformed, {}};
    const DecodedRequest incomplete{DecodeStatus::Incomplete, {}};
    // Each byte of the header is checked as soon as it is there.
    const std::size_t magic = std::min(bytes.size(), kMagic.size());
    if (bytes.substr(0, magic) != kMagic.substr(0, magic)) {
        return malformed;
    }
    if (bytes.size() > 4 && Byte(bytes, 4) != kRequestVersion) {
        return malformed;
    }
    if (bytes.size() > 5 && !KnownKind(Byte(bytes, 5))) {
        return malformed;
    }
    if (bytes.size() < kHeaderSize) {
        return incomplete;
    }
    const auto kind = static_cast<RequestKind>(Byte(bytes, 5));
    const std::size_t units = Byte(bytes, 6) | static_cast<std::size_t>(Byte(bytes, 7)) << 8;
    if (units > kMaxRequestUnits || (kind != RequestKind::Lookup && units != 0)) {
        return malformed;
    }
    const std::size_t size = kHeaderSize + 2 * units;
    if (bytes.size() < size) {
        return incomplete;
    }
    if (bytes.size() > size) {
        return malformed; // one request per connection
    }
    DecodedRequest decoded{DecodeStatus::Complete, {kind, {}}};
    decoded.request.word.reserve(units);
    for (std::size_t i = 0; i < units; ++i) {
        const std::size_t at = kHeaderSize + 2 * i;
        decoded.request.word += static_cast<char16_t>(Byte(bytes, at) | Byte(bytes, at + 1) << 8);
    }
    return decoded;
}

char EncodeAnswer(Answer answer) {
    return answer == Answer::Accepted ? kAccepted : kRefused;
}

Answer DecodeAnswer(char byte) {
    switch (byte) {
    case kAccepted:
        return Answer::Accepted;
    case kRefused:
        return Answer::Refused;
    default:
        return Answer::Unknown;
    }
}
