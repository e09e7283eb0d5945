// The framework's step before the document reads a file: can the file be
// opened at all? Its message names the file and the reason. The file is
// opened without waiting (a FIFO would wait for a writer), and the document
// reads only a plain file too, so nothing swapped in between can hang it.
#pragma once

#include <QString>

#include "logger/open_file.h"

#include <string>

namespace vessor::graph {

// Empty when `file`, opened from `path` (the name's bytes), can be read,
// else the message to show. The document then reads the same descriptor.
QString fileOpenProblem(const std::string& path, const InputFile& file);

} // namespace vessor::graph
