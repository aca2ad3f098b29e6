// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The generated benchmark dictionaries, cached on disk: one folder per size
// holding both directions under the program's own file names, so that the
// programs can be pointed at it as they are at their own folder.

#include "derivations.h"
#include "index/article_ref.h"

#include <cstddef>
#include <string>
#include <vector>

namespace bench_data {

struct DictionaryFolder {
    std::string path; // ends without a separator

    std::string IndexPath(Language language) const;
    std::string TextPath(Language language) const;
    // The long articles of the text file (about 2 KB each), in file order.
    std::vector<ArticleRef> LongArticles(Language language) const;
    // The headwords in their generated order (8-bit, as in the index).
    std::vector<std::string> Headwords(Language language) const;
};

// The folder `cacheRoot`/`count`, generated on first use; a later call, in
// this or another process, finds it complete and only reads it.
DictionaryFolder EnsureDictionary(const std::string& cacheRoot, std::size_t count);

} // namespace bench_data
