#pragma once
// A user code names the account's folder inside the program folder, so it
// must be one plain folder name there.
#include <string>

// Empty when the code can name an account folder; otherwise the reason, as
// the login dialog tells it. The empty code is allowed (it names the
// program folder itself).
std::string UserCodeProblem(const std::string& code);
