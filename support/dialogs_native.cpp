#include "support/dialogs.h"

#include <iostream>

namespace velbrook {

namespace {

// Off Windows there is no UI: messages go to stderr and every dialog is cancelled.
class ConsoleDialogs : public UserDialogs {
  public:
    int MessageBox(const std::string& text, const std::string& caption, unsigned,
                   WindowRef) override {
        std::cerr << caption << ": " << text << '\n';
        return kIdOk;
    }
    BrowsedFolder BrowseForFolder(const std::string&, const std::string&) override { return {}; }
    bool AskPlacesFileName(std::string&) override { return false; }
    bool InputQuery(const std::string&, const std::string&, std::string&) override { return false; }
    std::intptr_t OpenDocument(const std::string&, const std::string&, const std::string&,
                               const std::string&, bool) override {
        return -1;
    }
};

} // namespace

UserDialogs& PlatformDialogs() {
    static ConsoleDialogs dialogs;
    return dialogs;
}

} // namespace velbrook
