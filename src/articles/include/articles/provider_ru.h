// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Russian→Esperanto articles: UTF-8 text with accented letters stored as they
// are; the combining acute accent (stress mark) is never shown.

#include "articles/provider.h"

class cKelimboProvRu : public cKelimboProv {
public:
    std::u16string GetArticle(std::uint32_t start, std::uint32_t end) override;
    void AppendArticleUtf8(std::string& out, std::uint32_t start, std::uint32_t end) override;
};
