// Builds the stop-and-download page (page 5).
#pragma once

class QWidget;

namespace vessor {

class Page;
struct PageContext;

Page* createStopPage(PageContext& context, QWidget* parent);

} // namespace vessor
