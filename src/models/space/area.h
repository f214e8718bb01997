#pragma once
// The Earth and space course area: the solar system, the Sun, Earth and Moon, satellites and gravity.

namespace quarvel {

// Registers every model and panel of the area with the host. Vantrel's start
// calls it once, before the main window is made.
void RegisterSpaceTopics();

} // namespace quarvel
