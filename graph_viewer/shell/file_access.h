// The framework's own step before the document reads a file: can the file be
// opened at all? Its message names the file and the reason.
#pragma once

#include <QString>

namespace vessor::graph {

// Empty when the file can be opened for reading, else the message to show.
QString fileOpenProblem(const QString& path);

} // namespace vessor::graph
