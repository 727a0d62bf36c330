// One dock per user session.
#pragma once

// Claims the session's dock for this process; false when another process of
// the program already holds it.
bool TakeSessionDock();
// Asks the dock that runs already to slide its panel in, as a second start
// means the user wants it.
void AskRunningDockForPanel();
