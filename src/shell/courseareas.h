#pragma once
// The course areas' models and panels, registered with the host once when
// Vantrel starts (and by tests that run the whole window).

namespace quarvel {

void RegisterCourseAreas();

} // namespace quarvel
