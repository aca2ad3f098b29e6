// SPDX-License-Identifier: GPL-2.0-or-later
// History Load from arbitrary bytes, then Save and Load again. Property: the
// second load gives the same entries and cursor as the first.
#include "fuzz_support.h"
#include "history/history.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string history = fuzz::ScratchPath("historio.bin");
    // Text files that do not exist: both stamps are 0, so a stored stamp of 0
    // loads, and the fuzzer learns that quickly.
    const std::string eoText = fuzz::ScratchPath("eo-missing.txt");
    const std::string ruText = fuzz::ScratchPath("ru-missing.txt");
    fuzz::WriteFile(history, data, size);

    // An added dictionary whose texts are missing too, so that the references
    // the file keeps of it under its name (stamp 0) load as well.
    const std::vector<AddedTexts> added = {{"a", eoText, ruText}};

    cHistory first;
    first.addedTexts = added;
    first.Load(history.c_str(), eoText.c_str(), ruText.c_str());
    fuzz::Require(first.cursor >= 0 &&
                  first.cursor <= static_cast<std::int32_t>(first.entries.size()));
    first.Save();

    cHistory second;
    second.addedTexts = added;
    second.Load(history.c_str(), eoText.c_str(), ruText.c_str());
    fuzz::Require(second.cursor == first.cursor);
    fuzz::Require(second.entries.size() == first.entries.size());
    for (std::size_t i = 0; i < first.entries.size(); ++i) {
        const HistoryEntry& a = first.entries[i];
        const HistoryEntry& b = second.entries[i];
        fuzz::Require(a.query == b.query && a.refs == b.refs && a.isEsperanto == b.isEsperanto &&
                      a.added == b.added);
    }
    return 0;
}
