#include "support/process_account.h"

namespace velbrook {

// Off Windows there are no such accounts.
std::string ServiceAccountName() {
    return {};
}

} // namespace velbrook
