#include "utf8_text.h"

#include "platform/code_page.h"

std::string ToUtf8(std::u16string_view wide) {
    std::string out(wide.size() * 3, '\0');
    out.resize(platform::WideToMultiByte(platform::kUtf8CodePage, wide.data(), wide.size(),
                                         out.data(), out.size()));
    return out;
}

std::u16string FromUtf8(std::string_view utf8) {
    std::u16string out(utf8.size(), u'\0');
    out.resize(platform::MultiByteToWide(platform::kUtf8CodePage, utf8.data(), utf8.size(),
                                         out.data(), out.size()));
    return out;
}
