// SPDX-License-Identifier: GPL-2.0-or-later
#include "support/index_files.h"

#include "errors/exc_msg.h"
#include "platform/code_page.h"

#include <gtest/gtest.h>

namespace index_files {

std::vector<HeadwordSource> WithRefs(const std::vector<std::string>& words) {
    std::vector<HeadwordSource> sources;
    for (std::size_t k = 0; k < words.size(); ++k) {
        HeadwordSource source{words[k], {}};
        for (std::uint32_t r = 0; r < k % 3; ++r) {
            const auto start = static_cast<std::uint32_t>(1000 * k + r);
            source.refs.push_back({start, start + 1});
        }
        sources.push_back(std::move(source));
    }
    return sources;
}

std::string LoadFile(cIndex& index, const std::string& ansiPath) {
    try {
        index.Load(ansiPath.c_str());
    } catch (const cExcMsg& e) {
        return platform::ToUtf8(e.GetMsg());
    }
    return "";
}

std::string LoadBytes(cIndex& index, const testing_support::TempDir& dir,
                      const std::string& bytes) {
    testing_support::WriteBytes(dir.File("index.bsi"), bytes);
    return LoadFile(index, dir.AnsiPath("index.bsi"));
}

void LoadWords(cIndex& index, const testing_support::TempDir& dir,
               const std::vector<std::string>& words) {
    ASSERT_EQ(LoadBytes(index, dir, BuildIndex(index.GetLess(), WithRefs(words))), "");
}

std::vector<std::string> Texts(const cIndex& index, HeadwordRange range) {
    std::vector<std::string> texts;
    for (std::uint32_t k = range.first; k < range.last; ++k) {
        texts.push_back(index.GetHeadword(k));
    }
    return texts;
}

} // namespace index_files
