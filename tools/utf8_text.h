#pragma once
// UTF-8 at the tools' edges: arguments, sources and output are UTF-8.

#include <string>
#include <string_view>

std::string ToUtf8(std::u16string_view wide);
std::u16string FromUtf8(std::string_view utf8);
