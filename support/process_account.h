#pragma once
// Whether the process runs as a person or as one of the system's own accounts.
#include <string>

namespace velbrook {

// The account's name as the messages give it ("the local system account") when
// the process runs as the local system, local service or network service
// account; empty for a person's account, or when the account cannot be told.
std::string ServiceAccountName();

} // namespace velbrook
