// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A progress bar on a terminal.

#include <cstddef>
#include <cstdio>
#include <string>

// Draws "label [#####.....]  47% 5938/12634" on one line of the stream,
// redrawn in place, only when the stream is a terminal; otherwise it writes
// nothing. The line is cleared when the bar is finished or destroyed.
class ProgressBar {
public:
    explicit ProgressBar(std::string label, std::FILE* stream = stderr);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    // Redraws when the shown percentage or bar changes.
    void Update(std::size_t done, std::size_t total);
    void Finish();

    bool Shown() const { return m_stream != nullptr; }

private:
    std::string m_label;
    std::FILE* m_stream; // null when not a terminal or finished
    std::size_t m_lastPermille = static_cast<std::size_t>(-1);
};
