#pragma once
// Where the history file lives. A program in a folder it may write keeps
// "historio.bin" beside its executable, so a portable folder carries its own
// history. An installed program's folder belongs to the system, so there the
// file goes to the user's state folder instead, following the XDG base
// directory rules: $XDG_STATE_HOME/kelimbo/, or ~/.local/state/kelimbo/ when
// that variable is unset, empty or not an absolute path. The dictionary files
// are always read from the executable's folder; only the history moves.
//
// All paths are narrow, in the ANSI code page; folders end in '/'.

#include <optional>
#include <string>
#include <string_view>

// What the decision looks at, gathered apart from it so that tests can
// choose every answer (tests run as root, for whom every folder is writable).
struct HistorySurroundings {
    bool programFolderWritable = true;
    std::optional<std::string> xdgStateHome; // the environment's value, as UTF-8
    std::optional<std::string> home;         // likewise
};

// The user's state folder for Kelimbo, with its trailing '/'; empty when
// neither XDG_STATE_HOME (absolute) nor HOME (absolute) names one.
std::string UserStateFolder(const HistorySurroundings& surroundings);

// The folder the history file belongs in, for a program in programFolder:
// programFolder itself when it is writable or no state folder can be named,
// the user's state folder otherwise.
std::string HistoryFolder(std::string_view programFolder, const HistorySurroundings& surroundings);

// True when the file fileName can be written in folder: an existing one opens
// for appending (its contents untouched), or a new one can be created there
// (and is removed again at once).
bool CanWriteFileIn(std::string_view folder, std::string_view fileName);

// The surroundings of this process: the test above for the history file
// fileName in programFolder, and the two environment variables.
HistorySurroundings CurrentSurroundings(std::string_view programFolder, std::string_view fileName);

// The full path of the history file fileName ("historio.bin") for a program
// in programFolder, in this process's surroundings. When the file moves to the state folder, that
// folder is created (only the owner may enter it) if it does not exist; if it
// cannot be, the history is simply not saved, as with any failed save.
std::string HistoryFilePath(std::string_view programFolder, std::string_view fileName);
