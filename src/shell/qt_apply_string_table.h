#pragma once

class QWidget;

namespace shell {

// Replaces the numeric design texts of a form by rows of the string table: the form's caption
// from its "tag" property; each menu item's caption (a QAction named "mnu...") that is an id;
// each toolbar button's tool tip that is an id; label captions, tab captions and tool tips,
// list-view headers from their tags; for other controls, the number their "tag" and tool tip
// begin with. A step that fails is skipped and the control keeps its design text.
void ApplyStringTable(QWidget& form);

}  // namespace shell
