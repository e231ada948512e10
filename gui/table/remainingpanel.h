// The remaining-cards panel's slide: the button raises the panel to 450 or
// lowers it from there; a click on the panel raises it by 100. A move that
// would take its top above the window sends it back to its hidden place.
// Each step is shown at once, and the accessible table hears of it (the
// panel is among its children only while it is raised). Its button is told
// as expandable, expanded while the panel is raised.
#pragma once

class QAccessibleInterface;
class QWidget;
class TableView;

void RemainingCardsButtonClick(TableView& view);
void RemainingCardsClick(TableView& view);
// True while the panel is raised into view.
bool RemainingPanelOpen(const TableView& view);

// The name the window gives the panel's button; the accessible factory knows it by it.
extern const char kPanelButtonObjectName[];
// The button's accessible interface: a button that presses, expandable, and
// expanded while the panel of the table in the button's window is raised.
QAccessibleInterface* NewPanelButtonAccessible(QWidget* button);
