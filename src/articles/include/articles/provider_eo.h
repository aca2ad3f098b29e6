// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Esperanto→Russian articles: Windows-1251 text with Esperanto letters in
// x-system form; grave accents and slashes are markup and never shown.

#include "articles/provider.h"

class cKelimboProvEo : public cKelimboProv {
public:
    std::u16string GetArticle(std::uint32_t start, std::uint32_t end) override;
    void AppendArticleUtf8(std::string& out, std::uint32_t start, std::uint32_t end) override;
};
