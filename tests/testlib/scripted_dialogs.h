#pragma once
// A UserDialogs that records every request and answers from a script, so tests
// can check texts, captions and flags and never block on a person.
#include <deque>
#include <string>
#include <vector>

#include "support/dialogs.h"

namespace velbrook::testing {

struct ShownMessage {
    std::string text;
    std::string caption;
    unsigned flags = 0;
    WindowRef owner = 0;
};

struct OpenedDocument {
    std::string fileName, verb, parameters, directory;
    bool wait = false;
};

class ScriptedDialogs : public UserDialogs {
  public:
    // Answers, used front first; when a queue is empty the default answer applies
    // (IDOK for message boxes, cancel for the other dialogs).
    std::deque<int> messageAnswers;
    std::deque<BrowsedFolder> folderAnswers; // "" = cancel
    std::deque<std::string> fileNameAnswers; // "" = cancel
    std::deque<std::string> inputAnswers;    // "\x18" (CAN) = cancel
    static constexpr const char* kCancelInput = "\x18";

    std::vector<ShownMessage> messages;
    std::vector<std::string> browseInitialFolders;
    std::vector<std::string> browseTitles;
    std::vector<std::string> inputPresets;
    std::vector<OpenedDocument> documents;

    int MessageBox(const std::string& text, const std::string& caption, unsigned flags,
                   WindowRef owner) override;
    BrowsedFolder BrowseForFolder(const std::string& title,
                                  const std::string& initialFolder) override;
    bool AskPlacesFileName(std::string& fileName) override;
    bool InputQuery(const std::string& caption, const std::string& prompt,
                    std::string& value) override;
    std::intptr_t OpenDocument(const std::string& fileName, const std::string& verb,
                               const std::string& parameters, const std::string& directory,
                               bool wait) override;
};

// Installs the dialogs for the lifetime of the object.
class DialogsScope {
  public:
    explicit DialogsScope(UserDialogs& dialogs) { SetActiveDialogs(&dialogs); }
    ~DialogsScope() { SetActiveDialogs(nullptr); }
    DialogsScope(const DialogsScope&) = delete;
    DialogsScope& operator=(const DialogsScope&) = delete;
};

} // namespace velbrook::testing
