#pragma once
// Whole-file access for the INI files and the places file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velbrook {

// True when Windows takes the name for a device rather than a file: a name in
// the device namespace (\\.\, \\?\ other than a drive or UNC path), or a
// last part that is a reserved device name (CON, PRN, AUX, NUL, COM1 to COM9,
// LPT1 to LPT9, CONIN$, CONOUT$), also with an extension or trailing blanks.
bool NamesDevice(std::string_view fileName);
// True when a file (not a folder) of that name exists. An empty name is no file.
bool FileExists(const std::string& fileName);
// True when a folder of that name exists and answers.
bool FolderExists(const std::string& folderName);
enum class FileRead { Done, Failed, TooLarge };
// Reads the whole file as bytes. Failed when it cannot be opened or read, or
// is not a file on a disk (a device, a pipe): nothing else is read from.
// TooLarge, before anything is read, when it holds more than maxBytes.
FileRead ReadFileUpTo(const std::string& fileName, std::string& bytes, std::size_t maxBytes);
inline bool ReadWholeFile(const std::string& fileName, std::string& bytes) {
    return ReadFileUpTo(fileName, bytes, SIZE_MAX) == FileRead::Done;
}
// Writes the bytes to a temporary file beside the target and then replaces the
// target with it, so that a failed write leaves the old file as it was.
// False on any failure; no temporary file is left behind.
bool ReplaceFileContent(const std::string& fileName, const std::string& bytes);
// Why a file of that name cannot be written, as a short phrase of
// support/messages.h; empty when nothing is known against it. Looks for a
// folder of that name, a folder that does not exist and a read-only file.
std::string WriteRefusal(const std::string& fileName);
// Appends the bytes at the end of the file in a single write, creating the
// file when it is missing, so that writers on several machines never mix
// their lines. While another program holds the file locked it tries again for
// a short while. False, with the reason, when nothing was written.
bool AppendToFile(const std::string& fileName, const std::string& bytes, std::string& reason);
// Deletes a file. False when it could not be deleted.
bool DeleteFileByName(const std::string& fileName);

} // namespace velbrook
