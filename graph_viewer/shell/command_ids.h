// Command ids of the viewer's menus and toolbar. They name the commands in
// code and tests and key the status-bar prompts, as the menu resource did.
#pragma once

namespace vessor::graph::command {

inline constexpr int FILE_OPEN = 57601;
inline constexpr int FILE_OPEN_ARCHIVE = 32791;
inline constexpr int FILE_PRINT = 57607;
inline constexpr int FILE_PRINT_PREVIEW = 57609;
inline constexpr int FILE_PRINT_SETUP = 57606;
inline constexpr int EXPORT_TO_EXCEL = 32789;
inline constexpr int FILE_MRU_FIRST = 57616;
inline constexpr int CLOSE_GRAPH = 57665;
inline constexpr int VIEW_TOOLBAR = 59392;
inline constexpr int VIEW_STATUS_BAR = 59393;
inline constexpr int VIEW_SUMMARY = 32790;
inline constexpr int EXPORT_REPORT = 32791;
inline constexpr int ZOOM_IN = 32776;
inline constexpr int ZOOM_OUT = 32772;
inline constexpr int MARK_POINTS = 32777;
inline constexpr int NO_TRACES = 32785;
inline constexpr int GRID_X = 32787;
inline constexpr int GRID_Y = 32788;
inline constexpr int HELP_TOPICS = 57667;
inline constexpr int APP_ABOUT = 57664;
inline constexpr int HELP = 57670;
inline constexpr int CONTEXT_HELP = 57669;

} // namespace vessor::graph::command
