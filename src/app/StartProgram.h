#pragma once

namespace zq {
// Opens the program's first window; false when start-up cannot go on.
bool startProgram();
}
