// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The lookup core: the dictionaries of a data folder and the answers every
// front end asks of them. The search window, its reader and kelimbo-lookup ask
// the same object, so a typed text gives the same list and a chosen line the
// same articles in each; nothing outside it picks a direction's index or
// provider.

#include "articles/dictionary_files.h"
#include "articles/provider_eo.h"
#include "articles/provider_ru.h"
#include "forms/offered_lines.h"
#include "index/article_ref.h"
#include "index/language_indexes.h"
#include "lookup/fulltext_search.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A dictionary the core answers from: a folder holding one or both
// direction pairs, shown under its name.
struct DictionarySource {
    std::string name;      // UTF-8
    std::string folder;    // ANSI, ending in its separator (or empty)
    bool russian = true;   // holds the Russian–Esperanto pair
    bool esperanto = true; // holds the Esperanto–Russian pair
};

// The name the data folder's own pair is shown under beside added dictionaries.
inline constexpr std::string_view kMainDictionaryName = "Основной словарь";

// The dictionaries of a data folder (ANSI, ending in its separator) in the
// order a core answers from them: the folder's own pair first, under
// kMainDictionaryName, then the enabled added dictionaries in their order.
// `messages` gets what listing the added ones passed over.
std::vector<DictionarySource> DictionarySourcesOf(const std::string& dataFolder,
                                                  std::vector<std::string>& messages);

// The one dictionary of a data folder called `name`, switched on or off:
// kMainDictionaryName names the folder's own pair. None for a name no
// dictionary has.
std::optional<DictionarySource> DictionarySourceNamed(const std::string& dataFolder,
                                                      std::string_view name);

// Where a line's headword is in one dictionary.
struct LineSource {
    std::size_t dictionary = 0; // in the core's order
    std::uint32_t position = 0; // the headword's position in that dictionary's index
};

struct ListResult {
    std::string query; // the query in index form; empty: nothing was looked up
    bool esperanto = false;
    HeadwordRange range; // FindPrefix's range (of several dictionaries: the first one's)
    HeadwordRange shown; // the positions of the list's lines (one dictionary)
    std::vector<std::u16string> lines;   // the prefix lines, after any offered ones
    std::vector<std::size_t> exactLines; // the lines whose headword is the query itself
    // Asked for: the lines of the query's base forms, which lead the list
    // when the query is one word and no headword (or, for a shorter word,
    // when no headword begins with it); the prefix lines follow them, none
    // twice, up to MAX_LIST_LINES in all. `offered.lines[k]` is line k.
    forms::Offered offered;
    std::vector<std::u16string> offeredLines; // their headwords
    std::vector<std::u16string> offeredForms; // the base forms that found them
    // Several dictionaries answered: for each line, each dictionary that has
    // its headword, in the core's order. One dictionary: empty, and the
    // positions tell.
    bool merged = false;
    std::vector<std::vector<LineSource>> sources;
    // One dictionary with offered lines: every line's headword position, in
    // list order; without them, the lines are `shown`'s.
    std::vector<std::uint32_t> positions;

    std::size_t LineCount() const {
        if (merged) {
            return sources.size();
        }
        return offered.lines.empty() ? shown.last - shown.first : positions.size();
    }
    // How many of the first lines are offered base forms' lines.
    std::size_t OfferedCount() const { return offered.lines.size(); }
    // Whether an offered line opens a part of the word's analysis.
    bool OfferedPart(std::size_t line) const {
        return offered.forms[offered.lines[line].form].rule == forms::Rule::Part;
    }
    // Whether the list begins with offered lines.
    bool Offers() const { return !offered.lines.empty(); }
    // The headword position of a line below LineCount() (one dictionary).
    std::uint32_t Position(std::size_t line) const;
};

// The articles a line opens in one dictionary, named by the dictionary.
struct NamedRefs {
    std::string name;
    std::vector<ArticleRef> refs;

    friend bool operator==(const NamedRefs&, const NamedRefs&) = default;
};

// The text files of a dictionary, by which a history stamps its references;
// a path is empty for a direction the dictionary does not hold.
struct DictionaryTexts {
    std::string name;
    std::string eoTextPath;
    std::string ruTextPath;
};

class LookupCore {
public:
    // No folder: nothing is ever read on the core's own initiative; the
    // owner loads the directions (RussianIndex() and the others) itself.
    LookupCore();
    // The dictionaries of the ANSI folder (ending in its separator, or empty).
    // Nothing is read yet: each index is loaded the first time a query of its
    // language needs it, so a lookup in one direction never reads the other.
    explicit LookupCore(const std::string& ansiFolder);
    // Several dictionaries, the data folder's own pair first: each direction
    // of each is read the first time a query needs it, so five cost at
    // start-up what one does. A dictionary after the first whose files
    // cannot be read is passed over with a message (Messages()); the first
    // one's errors are raised as they are with one.
    explicit LookupCore(std::vector<DictionarySource> sources);
    ~LookupCore();
    // Points a core at one folder, or at several dictionaries, as the
    // constructors do.
    void Open(const std::string& ansiFolder);
    void Open(std::vector<DictionarySource> sources);
    LookupCore(const LookupCore&) = delete;
    LookupCore& operator=(const LookupCore&) = delete;

    // Loads both directions of the first dictionary now, in the order the
    // window's start-up reports their errors: the Russian index, the
    // Esperanto index, then the texts. Raises cExcMsg for the first that fails.
    void Load();

    // The list for text typed into the search box; with `offerForms`, the
    // offered lines first when the query is no headword. Raises cExcMsg when the
    // index cannot be loaded, or has changed on disk since it was.
    ListResult List(std::u16string_view typed, bool offerForms = false);

    // The same list, its lines appended to `printed` in UTF-8 instead of kept
    // in `lines`, `offeredLines` and `offeredForms`: each line ended by '\n',
    // an offered one (they come first) as "HEADWORD<TAB>BASE FORM". A failure leaves `printed`
    // as it was.
    ListResult List(std::u16string_view typed, bool offerForms, std::string& printed);

    // The list for a query already in index form (the search box's text once
    // converted); an empty query gives an empty result with `query` empty.
    ListResult ListKey(std::string_view query, bool offerForms);

    // The reader's text for one line of a list. With several dictionaries,
    // each dictionary's articles follow a heading line with its name, in
    // the core's order.
    std::u16string Article(const ListResult& list, std::size_t line);

    // The same text in UTF-8, appended to `out`; a failure leaves `out` as it was.
    void AppendArticle(const ListResult& list, std::size_t line, std::string& out);

    // The lines of a list whose headword is the query itself.
    std::vector<std::size_t> ExactLines(const ListResult& list);

    // What a line opens in the first dictionary, which the history keeps with
    // the list's direction to reopen them (through Provider): empty for a
    // line that dictionary lacks.
    std::vector<ArticleRef> Refs(const ListResult& list, std::size_t line);
    // What a line opens in each dictionary after the first that has its
    // headword, in the core's order; empty for a list of one dictionary.
    std::vector<NamedRefs> AddedRefs(const ListResult& list, std::size_t line);
    // The reader's text for references kept earlier (by a history, or a
    // full-text hit): with none of added dictionaries, the first dictionary's
    // articles alone as its provider gives them; otherwise those of the first
    // dictionary and those of the added dictionaries named, each under its
    // dictionary's heading as Article gives them. A name the core no longer
    // answers from is passed over.
    std::u16string ArticleOfRefs(bool esperanto, const std::vector<ArticleRef>& refs,
                                 const std::vector<NamedRefs>& added);
    // The dictionaries after the first, with their text files.
    std::vector<DictionaryTexts> AddedTexts() const;
    // The headword a line shows, as the reader names it.
    std::u16string Headword(const ListResult& list, std::size_t line);

    // The provider of a direction's articles in the first dictionary, which
    // turns references (of a line, or of a history entry) into the reader's text.
    cKelimboProv& Provider(bool esperanto);
    // The text file of a direction of the first dictionary, as the history's
    // stamp names it.
    const std::string& TextPath(bool esperanto);

    // The dictionaries' names, in order.
    std::vector<std::string> Names() const;
    // What was passed over: each dictionary that could not be read, once.
    const std::vector<std::string>& Messages() const { return m_messages; }

    // The first dictionary's objects, for start-up's checks, the benchmarks and tests.
    cIndexRu& RussianIndex();
    cIndexEo& EsperantoIndex();
    cKelimboProvRu& RussianProvider();
    cKelimboProvEo& EsperantoProvider();
    const forms::FormFinder& Forms() const { return m_forms; }

    // Full-text search over the same dictionaries, in the same order. It
    // reads nothing until its first search, and may be used from another
    // thread than the core's (see FullTextSearch).
    FullTextSearch& FullText() { return m_fullText; }

private:
    struct Dictionary;
    // The index of a direction of a dictionary, loaded on first use.
    const cIndex& Index(std::size_t dictionary, bool esperanto);
    // The dictionaries after the first that answer in a direction, with the
    // first when it holds the direction; those that fail to load are
    // passed over, with a message, from then on.
    std::vector<std::size_t> Answering(bool esperanto);
    // Marks a dictionary's direction as unreadable, with the reason.
    void PassOver(std::size_t dictionary, bool esperanto, const std::string& reason);
    // List's work; `printed` null: the lines kept as UTF-16 strings.
    ListResult MakeList(std::string query, bool offerForms, std::string* printed);
    // The lines a query's base forms offer in one index: those that lead the
    // list, or, `noPrefixLines`, those of a shorter word.
    forms::Offered OfferedFor(const cIndex& index, bool esperanto, std::string_view query,
                              bool noPrefixLines) const;
    ListResult MergedList(ListResult list, const std::vector<std::size_t>& answering,
                          bool offerForms, std::string* printed);
    // The text of a merged line, in UTF-16 or UTF-8.
    std::u16string MergedArticle(const ListResult& list, std::size_t line);
    void AppendMergedArticle(const ListResult& list, std::size_t line, std::string& out);

    std::vector<std::unique_ptr<Dictionary>> m_dictionaries;
    std::vector<std::string> m_messages;
    forms::FormFinder m_forms;
    FullTextSearch m_fullText{m_forms.Analyser()};
};
