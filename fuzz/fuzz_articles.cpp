// SPDX-License-Identifier: GPL-2.0-or-later
// ReadSpan and GetArticle of both providers over arbitrary file contents and
// spans. Properties: no read outside the buffers (the sanitizers watch), the
// decoded text within its capacity, and a failure only as cExcMsg.
#include "articles/provider_eo.h"
#include "articles/provider_ru.h"
#include "errors/exc_msg.h"
#include "fuzz_support.h"
#include "platform/code_page.h"

#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 16) {
        return 0;
    }
    // Two spans from the first 16 bytes; the rest is the dictionary file.
    std::uint32_t words[4];
    std::memcpy(words, data, sizeof words);
    const std::string path = fuzz::ScratchPath("dictionary.txt");
    fuzz::WriteFile(path, data + 16, size - 16);
    const std::uint32_t fileSize = static_cast<std::uint32_t>(size - 16);
    // Keep most spans inside the file, so the decoding is reached often.
    const ArticleRef inside{words[0] % (fileSize + 1), 0};
    const ArticleRef spans[] = {
        {inside.start, inside.start + words[1] % (fileSize - inside.start + 1)},
        {words[2], words[3]},
    };

    cKelimboProvRu ru;
    cKelimboProvEo eo;
    ru.path = path;
    eo.path = path;
    for (cKelimboProv* provider :
         {static_cast<cKelimboProv*>(&ru), static_cast<cKelimboProv*>(&eo)}) {
        try {
            std::u16string text;
            provider->GetArticles(text,
                                  std::vector<ArticleRef>(std::begin(spans), std::end(spans)));
            fuzz::Require(text.size() <= 2 * (kMaxArticleUnits + 2));
        } catch (const cExcMsg&) {
        }
        for (const ArticleRef& span : spans) {
            std::vector<char16_t> out(kMaxArticleUnits + 1);
            try {
                const std::size_t units = provider->ReadSpan(
                    span.start, span.end, out.data(), out.size() - 1, platform::kAnsiCodePage);
                fuzz::Require(units <= out.size() - 1);
            } catch (const cExcMsg&) {
            }
        }
    }
    return 0;
}
