// The framework's step before the document reads a file: can the file be
// opened at all? Its message names the file and the reason. The file is
// opened without waiting (a FIFO would wait for a writer), and the document
// reads only a plain file too, so nothing swapped in between can hang it.
#pragma once

#include <QString>

#include <string>

namespace vessor::graph {

// Empty when the file (its name's bytes) can be opened for reading, else the
// message to show.
QString fileOpenProblem(const std::string& path);

} // namespace vessor::graph
