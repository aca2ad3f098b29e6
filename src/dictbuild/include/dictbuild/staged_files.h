// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Files written under temporary names in the output folder and put in place
// together; whatever is not committed is removed.

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

class StagedFiles {
public:
    explicit StagedFiles(std::filesystem::path dir);
    ~StagedFiles();
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;

    // Writes `bytes` under a temporary name for the file `name` of the folder.
    // Throws std::runtime_error.
    void Write(const std::string& name, const std::string& bytes);

    // Renames every file into place. The files being replaced are kept under
    // backup names (hard links, so the final names never go missing) until all
    // renames have succeeded; after a failed rename they are put back.
    void Commit();

private:
    std::filesystem::path m_dir;
    std::vector<std::pair<std::filesystem::path, std::filesystem::path>> m_files;
};
