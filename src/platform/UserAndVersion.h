#pragma once

#include <QString>

// The logged-on user's name; empty when the system knows none.
QString CurrentUserName();

// " " + major + "." + minor + release + build + " " of the program's version:
// 3.6.0.0 gives " 3.600 ".
QString VersionFromResource();
QString VersionText(int major, int minor, int release, int build);

// The last n characters of text, or all of it when it is shorter.
QString RightChars(const QString& text, quint16 count);
