#pragma once
// The electricity and magnetism course area: magnetic fields, electromagnets, bells, relays, motors and loudspeakers.

namespace quarvel {

// Registers every model and panel of the area with the host. Vantrel's start
// calls it once, before the main window is made.
void RegisterElectromagnetismTopics();

} // namespace quarvel
