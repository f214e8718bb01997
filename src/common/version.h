#pragma once
#include <QString>

namespace quarvel {
// "1.0.0": the project version both programs report.
QString VersionText();
} // namespace quarvel
