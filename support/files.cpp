#include "support/files.h"

#include "support/files_platform.h"

namespace velbrook {

using namespace files_platform;

bool ReplaceFileContent(const std::string& fileName, const std::string& bytes) {
    // Windows refuses to replace a read-only file; every build refuses alike.
    if (fileName.empty() || IsReadOnly(fileName))
        return false;
    static unsigned counter = 0;
    const std::string stem = TemporaryStemBeside(fileName);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string tempName = stem + std::to_string(++counter) + ".tmp";
        switch (WriteNewFile(tempName, bytes, fileName)) {
        case NewFile::NameTaken:
            continue;
        case NewFile::NotCreated:
            return false;
        case NewFile::Written:
            if (MoveOver(tempName, fileName))
                return true;
            break;
        case NewFile::NotWritten:
            break;
        }
        DeleteFileByName(tempName);
        return false;
    }
    return false;
}

} // namespace velbrook
