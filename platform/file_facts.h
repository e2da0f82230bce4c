// What the system says about a path, in the terms the layers above ask:
// is it there, is it a file, may this process read it, may others, and its
// bytes up to a limit. Each system answers in its own file
// (file_facts_posix.cc, file_facts_windows.cc).
#ifndef ZELKOR_PLATFORM_FILE_FACTS_H_
#define ZELKOR_PLATFORM_FILE_FACTS_H_

#include <cstddef>
#include <filesystem>
#include <string>

// The path a text names, for opening it. On Linux the bytes as they are.
// On Windows the text is read as UTF-8 (config.txt as Notepad saves it)
// when it is valid UTF-8, and in the ANSI code page otherwise (an older
// file, a command-line argument), so that a path with letters beyond ASCII
// opens the file it names.
std::filesystem::path systemPath(const std::string& text);

enum class PathKind {
  kMissing,  // nothing there, or nothing this process may look at
  kFile,     // a plain file
  kFolder,
  kOther,    // a pipe, a device, a socket
};

PathKind pathKind(const std::string& path);

// This process may open path for reading.
bool mayRead(const std::string& path);

// Users other than the file's owner may read it (group or others' read bits
// on Linux). Always false on Windows, where who may read a file is a list
// that a folder passes on, not a property this tool could judge.
bool readableByOthers(const std::string& path);

// The file's own path with links and "." and ".." resolved, to tell when
// two paths name one file; path as given when it cannot be resolved.
std::string canonicalPath(const std::string& path);

// path made whole, from the working folder when it is relative, with "."
// and ".." taken out but links kept, in the system's own form ("C:\\..."
// on Windows), as UTF-8: the path to show a person.
std::string absolutePath(const std::string& path);

enum class BoundedRead {
  kRead,        // text holds the whole file
  kCannotOpen,  // missing, or this process may not read it
  kNotAFile,    // a pipe, a device or a folder, or a read that failed
  kTooLarge,    // longer than the limit
};

// Reads the file at path into text when it is a plain file of at most limit
// bytes. Never waits on a pipe or a device: it is opened without waiting
// and refused.
BoundedRead readFileUpTo(const std::string& path, size_t limit,
                         std::string& text);

#endif  // ZELKOR_PLATFORM_FILE_FACTS_H_
