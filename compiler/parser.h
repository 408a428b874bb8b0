// Recursive descent from tokens to a module's syntax tree. After an error the
// parser skips to the next statement, so one mistake gives one message; a
// block whose first line is faulty is still read to its end.
#pragma once

#include <vector>

#include "lexer.h"
#include "syntax.h"

namespace tbc {

Module Parse(const std::vector<Token>& tokens, int file, Diagnostics& diagnostics);

}  // namespace tbc
