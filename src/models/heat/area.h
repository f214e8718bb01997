#pragma once
// The heat, particles and sound course area: kinetic theory, thermometers, conduction and radiation, sound, the Bunsen burner and cooling.

namespace quarvel {

// Registers every model and panel of the area with the host. Vantrel's start
// calls it once, before the main window is made.
void RegisterHeatTopics();

} // namespace quarvel
