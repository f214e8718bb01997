#include "common/version.h"

namespace quarvel {
QString VersionText() { return QStringLiteral(QUARVEL_VERSION); }
} // namespace quarvel
