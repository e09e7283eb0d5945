// Tells the user how reading a download file ended: the file layer's report,
// message 129 for refused content, or, for an event logger's file, the
// question whether to open it in the desktop's text editor.
#pragma once

#include "document/vessor_graph_doc.h"

#include "logger/user_interface.h"

#include <string>

namespace vessor::graph {

void reportLoad(const VessorGraphDoc& doc, const std::string& path, UserInterface& ui,
                TextEditorLauncher& editor);

} // namespace vessor::graph
