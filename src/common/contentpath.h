#pragma once
// Course content is authored on Windows: links name files in another letter
// case than the files have ("REFRACTION.HTM" for "Refraction.htm") and folders
// are written with backslashes. These helpers find such files on a
// case-sensitive file system, one path component at a time, and never hand
// out a path outside the content root.

#include <QString>

namespace quarvel {

// Resolves `relative` (separators "\" or "/") under `root`, matching each
// component without regard to case (an exact match wins). Returns the
// absolute path of the existing file or folder, or an empty string when it is
// missing or would lie outside the root ("..", a drive letter, a symbolic
// link leading out). Leading separators are taken as the root itself.
QString ResolveContentPath(const QString& root, const QString& relative);

// True when `path` exists inside `root` (after resolving symbolic links).
bool IsInsideRoot(const QString& root, const QString& path);

// Joins a folder and a relative name with "/", turning "\" into "/", and
// ending folders with "/" when `asFolder` is set.
QString JoinPath(const QString& folder, const QString& name, bool asFolder = false);

} // namespace quarvel
