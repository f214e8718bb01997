#pragma once
// The light course area: ray boxes and mirrors, lenses, the eye, the camera, colour and the kaleidoscope.

namespace quarvel {

// Registers every model and panel of the area with the host. Vantrel's start
// calls it once, before the main window is made.
void RegisterLightTopics();

} // namespace quarvel
