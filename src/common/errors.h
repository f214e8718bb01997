#pragma once
// Errors that more than one library raises or handles.

#include <stdexcept>

namespace quarvel {

// Raised for failures of the OpenGL context or of OpenGL itself; the
// application's error handler shows them with the OpenGL advice.
class EOpenGLError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace quarvel
