#pragma once
// The forces and motion course area: springs, friction, the trolley and light gate, resultant forces and moments.

namespace quarvel {

// Registers every model and panel of the area with the host. Vantrel's start
// calls it once, before the main window is made.
void RegisterForcesTopics();

} // namespace quarvel
