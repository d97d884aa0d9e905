#include "support/console_dialogs.h"

#include "support/strings.h"

namespace velbrook {

int ConsoleDialogs::MessageBox(const std::string& text, const std::string&, unsigned flags,
                               WindowRef) {
    writeLine_(OneLine(text) + "\r\n");
    switch (flags & 0x0F) {
    case kMbYesNo:
        return kIdNo;
    case kMbOkCancel:
        return kIdCancel;
    default:
        return kIdOk;
    }
}

} // namespace velbrook
