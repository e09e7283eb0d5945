// A user's clicks and typing on a page, through Qt's test events.
#pragma once

class QAbstractButton;
class QLineEdit;
class QString;

namespace vessor::test {

// Check boxes and radio buttons take clicks on their mark and text only, so
// they are clicked near their left edge; other buttons in their middle.
void click(QAbstractButton* button);
// The box's text replaced by `text`, typed key by key.
void typeInto(QLineEdit* box, const QString& text);

} // namespace vessor::test
