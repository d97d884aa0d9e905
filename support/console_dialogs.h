#pragma once
// Dialogs for a run that nobody watches: each message becomes one line of
// text, and every question and dialog is answered as cancelled, so that
// nothing waits for a person.
#include <functional>
#include <string_view>

#include "support/dialogs.h"

namespace velbrook {

class ConsoleDialogs : public UserDialogs {
  public:
    // Takes each message as one line, with its line end.
    using LineWriter = std::function<void(std::string_view)>;
    explicit ConsoleDialogs(LineWriter writeLine) : writeLine_(std::move(writeLine)) {}

    // OK for a notice, No or Cancel for a question.
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags,
                   WindowRef owner) override;
    BrowsedFolder BrowseForFolder(const std::string&, const std::string&) override { return {}; }
    bool AskPlacesFileName(std::string&) override { return false; }
    bool InputQuery(const std::string&, const std::string&, std::string&) override { return false; }
    std::intptr_t OpenDocument(const std::string&, const std::string&, const std::string&,
                               const std::string&, bool) override {
        return -1;
    }

  private:
    LineWriter writeLine_;
};

} // namespace velbrook
