// The pack command's output folder, changed as a whole or not at all.
#pragma once

#include <string>
#include <vector>

#include "tools/pack/InstallSetOutput.h"

// Writes every output that differs from what the folder holds (unchanged files
// keep their times, so builds that depend on them stay quiet). Each is first
// written beside its target under a temporary name; only when all of them are
// written do they replace their targets. A failure before that takes the
// temporaries (and a folder this call made) away again and throws
// std::runtime_error: the folder is left as it was, never new tables beside
// stale packed files.
void writeOutputFolder(const std::string& folder, const std::vector<OutputFile>& outputs);
