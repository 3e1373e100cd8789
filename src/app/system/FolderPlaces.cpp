#include "app/system/FolderPlaces.h"

#include <QDir>
#include <QStorageInfo>

namespace dyno {

namespace {

// Where desktops and users mount removable and network media.
const QStringList& mediaFolders() {
    static const QStringList folders{QStringLiteral("/media/"), QStringLiteral("/run/media/"),
                                     QStringLiteral("/mnt/")};
    return folders;
}

bool isMediaMount(const QString& mountPoint) {
    for (const QString& folder : mediaFolders()) {
        if (mountPoint.startsWith(folder) && mountPoint.size() > folder.size()) return true;
    }
    return false;
}

bool contains(const QString& place, const QString& folder) {
    if (folder == place) return true;
    const QString withSlash = place.endsWith(QLatin1Char('/')) ? place : place + QLatin1Char('/');
    return folder.startsWith(withSlash);
}

}  // namespace

QStringList folderPlaces(const QString& homeFolder, const QStringList& mountPoints) {
    QStringList places{QStringLiteral("/")};
    const QString home = QDir::cleanPath(homeFolder);
    if (!home.isEmpty() && !places.contains(home)) places.append(home);
    for (const QString& mount : mountPoints) {
        const QString clean = QDir::cleanPath(mount);
        if (isMediaMount(clean) && !places.contains(clean)) places.append(clean);
    }
    return places;
}

QStringList currentFolderPlaces() {
    QStringList mountPoints;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady()) mountPoints.append(volume.rootPath());
    }
    return folderPlaces(QDir::homePath(), mountPoints);
}

QString placeOfFolder(const QStringList& places, const QString& folder) {
    const QString clean = QDir::cleanPath(folder);
    QString best;
    for (const QString& place : places) {
        if (contains(place, clean) && place.size() > best.size()) best = place;
    }
    return best;
}

}  // namespace dyno
