// SPDX-License-Identifier: GPL-2.0-or-later
#include "dictbuild/staged_files.h"

#include "platform/file_replace.h"

#include <cstdio>
#include <stdexcept>
#include <unistd.h>

StagedFiles::StagedFiles(std::filesystem::path dir) : m_dir(std::move(dir)) {}

StagedFiles::~StagedFiles() {
    for (const auto& [temp, final] : m_files) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
    }
}

void StagedFiles::Write(const std::string& name, const std::string& bytes) {
    const auto temp = m_dir / ("." + name + ".tmp" + std::to_string(::getpid()));
    m_files.emplace_back(temp, m_dir / name);
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    bool written = file != nullptr &&
                   std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() &&
                   platform::FlushToDisk(file);
    if (file != nullptr && std::fclose(file) != 0) {
        written = false;
    }
    if (!written) {
        throw std::runtime_error("cannot write " + temp.string());
    }
}

void StagedFiles::Commit() {
    std::vector<std::pair<std::filesystem::path, std::filesystem::path>> backups;
    std::size_t renamed = 0;
    try {
        for (const auto& [temp, final] : m_files) {
            if (std::filesystem::is_regular_file(final)) {
                auto backup = final;
                backup += ".old" + std::to_string(::getpid());
                std::filesystem::remove(backup);
                std::filesystem::create_hard_link(final, backup);
                backups.emplace_back(final, backup);
            }
        }
        for (; renamed < m_files.size(); ++renamed) {
            std::filesystem::rename(m_files[renamed].first, m_files[renamed].second);
        }
    } catch (...) {
        for (std::size_t i = 0; i < renamed; ++i) {
            std::error_code ignored;
            std::filesystem::remove(m_files[i].second, ignored);
        }
        for (const auto& [final, backup] : backups) {
            std::error_code ignored;
            std::filesystem::rename(backup, final, ignored);
        }
        throw;
    }
    for (const auto& [final, backup] : backups) {
        std::error_code ignored;
        std::filesystem::remove(backup, ignored);
    }
    m_files.clear();
}
