// Finds texts a page cuts off: a label, button, edit box or list whose text
// needs more room than its widget has, or a widget that reaches past the page.
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace vessor::test {

// The texts that do not fit, for the failure message; empty when all fit.
std::vector<std::string> clippedTexts(QWidget* page);

} // namespace vessor::test
