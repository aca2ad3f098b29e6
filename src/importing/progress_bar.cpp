// SPDX-License-Identifier: GPL-2.0-or-later
#include "importing/progress_bar.h"

#include <algorithm>
#include <string>
#include <unistd.h>

namespace {

constexpr std::size_t kWidth = 30;

} // namespace

ProgressBar::ProgressBar(std::string label, std::FILE* stream)
    : m_label(std::move(label)),
      m_stream(stream != nullptr && ::isatty(::fileno(stream)) ? stream : nullptr) {}

ProgressBar::~ProgressBar() {
    Finish();
}

void ProgressBar::Update(std::size_t done, std::size_t total) {
    if (m_stream == nullptr) {
        return;
    }
    const std::size_t permille = total == 0 ? 1000 : std::min(done, total) * 1000 / total;
    if (permille / 10 == m_lastPermille / 10 &&
        permille * kWidth / 1000 == m_lastPermille * kWidth / 1000) {
        return;
    }
    m_lastPermille = permille;
    const std::size_t filled = permille * kWidth / 1000;
    std::fprintf(m_stream, "\r%s [%s%s] %3zu%% %zu/%zu", m_label.c_str(),
                 std::string(filled, '#').c_str(), std::string(kWidth - filled, '.').c_str(),
                 permille / 10, done, total);
    std::fflush(m_stream);
}

void ProgressBar::Finish() {
    if (m_stream == nullptr) {
        return;
    }
    std::fprintf(m_stream, "\r\033[K");
    std::fflush(m_stream);
    m_stream = nullptr;
}
