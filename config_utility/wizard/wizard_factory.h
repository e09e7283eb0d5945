// Builds the set-up page for a page number; the shell calls it once per page
// at start-up and shows a placeholder where it returns nullptr.
#pragma once

class QWidget;

namespace vessor {

class Page;
struct PageContext;

// The page for `index` (1..4, 7..24), or nullptr when that page is not built.
Page* createWizardPage(int index, PageContext& context, QWidget* parent);

} // namespace vessor
