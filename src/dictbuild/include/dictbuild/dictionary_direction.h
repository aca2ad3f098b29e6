// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The two dictionary directions as the index tool writes them: file names,
// indexes, headword keys and article encodings.

#include "articles/dictionary_files.h"
#include "index/headword_index.h"

#include <memory>
#include <string>
#include <string_view>

enum class Language { Esperanto, Russian };

DictionaryFiles FilesOf(Language language);

// An empty index of the direction, with its order.
std::unique_ptr<cIndex> MakeIndex(Language language);

// "eo" or "ru"; throws std::invalid_argument for anything else.
Language ParseLanguage(std::string_view name);

// The key under which a headword (UTF-8) is stored and looked up: Esperanto in
// x-system form without slashes, grave accents and stress marks; Russian in
// Windows-1251 without stress marks. Throws std::runtime_error when the text
// holds a character the code page cannot hold.
std::string HeadwordKey(Language language, std::string_view utf8);

// The same for a headword taken from an existing text file, in that file's
// own encoding (Windows-1251 x-system for Esperanto, UTF-8 for Russian).
std::string HeadwordKeyFromText(Language language, std::string_view fileBytes);

// An article (UTF-8) as its direction's text file stores it: Windows-1251 in
// x-system form for Esperanto, UTF-8 for Russian. Marks stay; the reader
// removes them when it shows the article. Throws std::runtime_error when a
// character cannot be stored.
std::string EncodeArticle(Language language, std::string_view utf8);
