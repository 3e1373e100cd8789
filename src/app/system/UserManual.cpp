#include "app/system/UserManual.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "app/composition/PageList.h"

namespace dyno {

QString manualSectionOf(int pageIndex) {
    if (pageIndex < 0 || pageIndex >= static_cast<int>(kPages.size())) return {};
    QString name =
        QString::fromLatin1(kPages[static_cast<std::size_t>(pageIndex)].caption).toLower();
    name.remove(u'.').replace(u'/', u'-').replace(u' ', u'-');
    return QStringLiteral("page-") + name;
}

QStringList manualLocations() {
    QStringList files;
    files << QDir(QCoreApplication::applicationDirPath())
                 .filePath(QStringLiteral("../share/doc/vkr-dyno/manual/index.html"));
#ifdef DYNO_SOURCE_MANUAL
    files << QStringLiteral(DYNO_SOURCE_MANUAL);
#endif
    return files;
}

QUrl helpUrl(const QString& startDirectory, int pageIndex, const QStringList& manualFiles) {
    const QString helpFile = QDir(startDirectory).filePath(QStringLiteral("Vkr.hlp"));
    if (QFileInfo::exists(helpFile)) return QUrl::fromLocalFile(helpFile);
    for (const QString& manual : manualFiles) {
        if (!QFileInfo::exists(manual)) continue;
        QUrl url = QUrl::fromLocalFile(QFileInfo(manual).canonicalFilePath());
        url.setFragment(manualSectionOf(pageIndex));
        return url;
    }
    return {};
}

}  // namespace dyno
