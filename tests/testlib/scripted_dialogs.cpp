#include "testlib/scripted_dialogs.h"

namespace velbrook::testing {

namespace {
template <class T> bool Pop(std::deque<T>& queue, T& out) {
    if (queue.empty())
        return false;
    out = queue.front();
    queue.pop_front();
    return true;
}
} // namespace

int ScriptedDialogs::MessageBox(const std::string& text, const std::string& caption, unsigned flags,
                                WindowRef owner) {
    messages.push_back({text, caption, flags, owner});
    int answer = kIdOk;
    Pop(messageAnswers, answer);
    return answer;
}

BrowsedFolder ScriptedDialogs::BrowseForFolder(const std::string& title,
                                               const std::string& initialFolder) {
    browseTitles.push_back(title);
    browseInitialFolders.push_back(initialFolder);
    BrowsedFolder answer;
    Pop(folderAnswers, answer);
    return answer;
}

bool ScriptedDialogs::AskPlacesFileName(std::string& fileName) {
    std::string answer;
    if (!Pop(fileNameAnswers, answer) || answer.empty())
        return false;
    fileName = answer;
    return true;
}

bool ScriptedDialogs::InputQuery(const std::string&, const std::string&, std::string& value) {
    inputPresets.push_back(value);
    std::string answer;
    if (!Pop(inputAnswers, answer) || answer == kCancelInput)
        return false;
    value = answer;
    return true;
}

std::intptr_t ScriptedDialogs::OpenDocument(const std::string& fileName, const std::string& verb,
                                            const std::string& parameters,
                                            const std::string& directory, bool wait) {
    documents.push_back({fileName, verb, parameters, directory, wait});
    return 42;
}

} // namespace velbrook::testing
