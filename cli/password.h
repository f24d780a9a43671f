#pragma once

#include "base/result.h"

#include <QString>

namespace corvane::cli {

// Environment variable that carries the password for unattended runs.
inline constexpr char PasswordVariable[] = "CORVANE_PASSWORD";

// The login's password: the environment variable when it is set (an empty
// value is an empty password), else asked for without echo when standard
// input is a terminal. Fails when neither is possible.
Result<QString> ReadPassword();

} // namespace corvane::cli
