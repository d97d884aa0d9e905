#include "support/console.h"
#include "support/console_dialogs.h"

namespace velbrook {

// Off Windows there is no UI: messages go to standard error and every dialog
// is cancelled.
UserDialogs& PlatformDialogs() {
    static ConsoleDialogs dialogs(WriteStandardError);
    return dialogs;
}

} // namespace velbrook
