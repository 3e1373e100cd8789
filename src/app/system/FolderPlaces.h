#pragma once

#include <QStringList>

namespace dyno {

// The places `DriveComboBox1` offers on Linux, where there are no drive letters: the
// file system root, the home folder, then mounted media (USB sticks, memory cards,
// network shares) in the order given, each once.
QStringList folderPlaces(const QString& homeFolder, const QStringList& mountPoints);

// The same for this machine: the user's home folder and the mounted volumes.
QStringList currentFolderPlaces();

// The place `folder` lies in: the longest place that is `folder` or a folder above
// it, or an empty text when none is.
QString placeOfFolder(const QStringList& places, const QString& folder);

}  // namespace dyno
