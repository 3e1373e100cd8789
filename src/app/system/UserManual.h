#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// What F1 and the "Help" button open: "Vkr.hlp" in the start folder when the
// workshop keeps one there, otherwise the HTML manual at the section of the page
// in view, in the desktop's browser.
namespace dyno {

// The manual's section of page `pageIndex` (tab order): "page-graphs", ...,
// "page-a-d-sett".
QString manualSectionOf(int pageIndex);

// Where the manual may be: beside the installed program
// (bin/../share/doc/vkr-dyno/manual), then in the source tree it was built from.
QStringList manualLocations();

// The help to open; empty when there is neither a help file nor a manual.
QUrl helpUrl(const QString& startDirectory, int pageIndex, const QStringList& manualFiles);

}  // namespace dyno
