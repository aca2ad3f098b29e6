// SPDX-License-Identifier: GPL-2.0-or-later
#include "dictbuild/index_check.h"

#include "articles/provider.h"
#include "errors/exc_msg.h"
#include "index/headword_index.h"
#include "platform/code_page.h"
#include "text/index_key.h"

#include <algorithm>
#include <fstream>
#include <memory>

namespace {

using platform::ToUtf8;

std::string Shown(const cIndex& index, std::uint32_t i) {
    std::string shown(1, '"');
    shown += ToUtf8(from_index_key(index.HeadwordText(i)));
    shown += '"';
    return shown;
}

void Report(IndexCheck& check, std::string problem) {
    if (check.problems.size() < IndexCheck::kMaxListed) {
        check.problems.push_back(std::move(problem));
    }
    ++check.problemCount;
}

void CheckOrder(const cIndex& index, IndexCheck& check) {
    const pro_less& order = index.GetLess();
    for (std::uint32_t i = 1; i < index.Count(); ++i) {
        if (order.less(index.HeadwordText(i), index.HeadwordText(i - 1))) {
            Report(check, "headwords " + std::to_string(i - 1) + " " + Shown(index, i - 1) +
                              " and " + std::to_string(i) + " " + Shown(index, i) +
                              " are out of order");
            return; // the first pair tells; the rest would only repeat it
        }
    }
}

void CheckSelfLookup(const cIndex& index, IndexCheck& check) {
    for (std::uint32_t i = 0; i < index.Count(); ++i) {
        const HeadwordRange range = index.FindPrefix(index.HeadwordText(i));
        if (i < range.first || i >= range.last) {
            Report(check, "headword " + std::to_string(i) + " " + Shown(index, i) +
                              " is not found by its own text");
        }
    }
}

void CheckReferences(const cIndex& index, const std::filesystem::path& textFile,
                     IndexCheck& check) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(textFile, error);
    if (error) {
        Report(check, "cannot read the text file " + textFile.string());
        return;
    }
    for (std::uint32_t i = 0; i < index.Count(); ++i) {
        for (const ArticleRef& ref : index.GetRefs(i)) {
            const std::string where = "headword " + std::to_string(i) + " " + Shown(index, i) +
                                      ": article " + std::to_string(ref.start) + "-" +
                                      std::to_string(ref.end);
            if (ref.end < ref.start) {
                Report(check, where + " ends before it starts");
            } else if (ref.start > kMaxArticleOffset) {
                Report(check, where + " starts beyond byte " + std::to_string(kMaxArticleOffset) +
                                  ", which the program cannot read");
            } else if (ref.end - ref.start > kMaxArticleBytes) {
                Report(check,
                       where + " is longer than " + std::to_string(kMaxArticleBytes) + " bytes");
            } else if (ref.end > size) {
                Report(check, where + " runs past the end of the text file");
            }
        }
    }
}

// Compares the whole text file with the identity the index records.
void CheckIdentity(const bsi::TextIdentity& identity, const std::filesystem::path& textFile,
                   IndexCheck& check) {
    std::ifstream in(textFile, std::ios::binary);
    if (!in) {
        return; // CheckReferences says so
    }
    bsi::TextHasher hasher;
    std::uint64_t size = 0;
    std::string sampled;
    const std::vector<bsi::Span> spans = bsi::FingerprintSpans(identity.size);
    std::string chunk(std::size_t{1} << 20, '\0');
    while (in) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got == 0) {
            break;
        }
        hasher.Add(std::string_view(chunk.data(), got));
        // The spans the fingerprint covers, as far as they lie in this chunk.
        for (const bsi::Span& span : spans) {
            const std::uint64_t from = std::max(span.offset, size);
            const std::uint64_t to = std::min(span.offset + span.length, size + got);
            if (from < to) {
                sampled.append(chunk.data() + (from - size), to - from);
            }
        }
        size += got;
    }
    if (in.bad()) {
        Report(check, "cannot read the text file " + textFile.string());
        return;
    }
    const std::string file = textFile.string();
    if (size != identity.size) {
        Report(check, "the text file " + file +
                          " is not the one the index was made for: " + std::to_string(size) +
                          " bytes, the index's text had " + std::to_string(identity.size));
    } else if (hasher.Hash() != identity.hash ||
               bsi::Fingerprint(size, sampled) != identity.fingerprint) {
        Report(check, "the text file " + file +
                          " is not the one the index was made for: its bytes differ");
    }
}

} // namespace

IndexCheck CheckIndex(Language language, const std::string& indexPath,
                      const std::optional<std::filesystem::path>& textFile) {
    IndexCheck check;
    const std::unique_ptr<cIndex> index = MakeIndex(language);
    try {
        index->Load(indexPath.c_str());
    } catch (const cExcMsg& e) {
        Report(check, ToUtf8(e.GetMsg()));
        return check;
    }
    check.headwords = index->Count();
    for (std::uint32_t i = 0; i < index->Count(); ++i) {
        check.references += index->GetRefs(i).size();
    }
    CheckOrder(*index, check);
    CheckSelfLookup(*index, check);
    check.withoutIdentity = !index->Identity();
    if (textFile) {
        CheckReferences(*index, *textFile, check);
        if (index->Identity()) {
            CheckIdentity(*index->Identity(), *textFile, check);
        }
    }
    return check;
}
