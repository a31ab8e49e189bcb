#pragma once
// Where the program keeps its data: a folder of its own inside the user's
// roaming application-data folder, beside the previous version's folder.

#include <QString>

// The user's roaming application-data folder, where both the data folder and
// the previous version's folder live.
QString RoamingDataDir();

// Creates APath with every missing parent and returns it. A folder that
// cannot be created is returned all the same: the file operation that uses it
// then fails with its own error, which its caller reports.
QString EnsureFolder(const QString& APath);
