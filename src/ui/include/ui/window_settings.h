// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the windows remember between runs: the search window's place, size
// and maximised state, the zoom of the list and the article text, and the
// order the word list is shown in. It is
// kept apart from the history, in an INI file "kelimbo.conf" read at start-up
// and written at the end of the run. The file lives where the history does:
// beside the program while the program's folder can be written (a portable
// copy, a build folder), otherwise in the user's configuration folder,
// $XDG_CONFIG_HOME/kelimbo/ or ~/.config/kelimbo/.
//
// Without Load the settings are the defaults, and Save writes nothing.

#include <string>
#include <string_view>

inline constexpr const char* kSettingsFileName = "kelimbo.conf";

// The orders of the word list: newest first, alphabetical in the language's
// ordering, most looked up first.
enum class WordOrder { ByDate, ByName, ByLookups };

class WindowSettings {
public:
    // Reads the settings of a program in programFolder (narrow, ANSI, ending
    // in '/'); a missing or unreadable file, or a value out of range, gives
    // the default of that value.
    void Load(std::string_view programFolder);
    // Writes the file that Load chose (creating its folder); false when
    // nothing was written.
    bool Save() const;
    // The file Load chose, in the file system's form; empty before Load.
    const std::string& FilePath() const { return m_path; }

    // The search window's place as the toolkit records it; empty: never saved.
    const std::string& Placement() const { return m_placement; }
    void SetPlacement(std::string placement) { m_placement = std::move(placement); }

    // The zoom in percent, always a step of the zoom ladder (text_zoom.h).
    int Zoom() const { return m_zoom; }
    void SetZoom(int percent);

    WordOrder WordListOrder() const { return m_wordOrder; }
    void SetWordListOrder(WordOrder order) { m_wordOrder = order; }

private:
    std::string m_path;
    std::string m_placement;
    int m_zoom = 100;
    WordOrder m_wordOrder = WordOrder::ByDate;
};
