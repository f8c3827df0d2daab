#pragma once

#include <QString>

// The name of the first entry of the folder, in name order, that is called prefix + anything +
// ".inf" and is not a folder itself; empty when there is none. Names are matched without regard
// to case, as the file systems of the system's origins do.
QString FindSettingsFile(const QString& folder, const QString& prefix);
