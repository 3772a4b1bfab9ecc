// The board's schema, one migration per version, in both databases' words.
#pragma once

#include <string>
#include <vector>

#include "board/database.h"

namespace board {

// Migration i brings the schema from version i to version i + 1.
const std::vector<std::string>& migrations(Dialect dialect);

}  // namespace board
