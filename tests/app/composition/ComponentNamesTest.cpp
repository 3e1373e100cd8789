#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "app/composition/MainWindow.h"
#include "app/pages/ParamPage.h"

namespace dyno {
namespace {

using Names = std::vector<std::string>;

// The names of docs/components.md, sorted: the first cell of every table row, when
// it is a name in backticks. A name two controls share is listed once for each.
Names listedNames() {
    QFile file(QString::fromUtf8(DYNO_SOURCE_DIR "/docs/components.md"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    static const QRegularExpression row(QStringLiteral("^\\|\\s*`([^`]+)`\\s*\\|"));
    Names names;
    while (!file.atEnd()) {
        const auto match = row.match(QString::fromUtf8(file.readLine()));
        if (match.hasMatch()) names.push_back(match.captured(1).toStdString());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The window's own name and those of all its named descendants, sorted. Qt names the
// insides of its controls itself: "qt_..." (viewports, spin box edits, the tab
// widget's bar and stack) and the tab bar's two scroll arrows, which have no prefix.
Names namesInWindow(const MainWindow& window) {
    Names names{window.objectName().toStdString()};
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        const QString name = widget->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) ||
            name == QLatin1String("ScrollLeftButton") ||
            name == QLatin1String("ScrollRightButton")) {
            continue;
        }
        names.push_back(name.toStdString());
    }
    std::sort(names.begin(), names.end());
    return names;
}

Names notIn(const Names& names, const Names& others) {
    Names missing;
    std::set_difference(names.begin(), names.end(), others.begin(), others.end(),
                        std::back_inserter(missing));
    return missing;
}

TEST(ComponentNames, TheListNamesEveryNamedControlOfTheWindowAndNothingElse) {
    const QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    MainWindow window(folder.path());
    // The calculator is made at the first "Calculator" press (or F8) and kept.
    window.paramPage()->showCalculator();

    Names listed = listedNames();
    ASSERT_FALSE(listed.empty()) << "no names read from docs/components.md";
    // The save dialog lives only while it asks for a file name and is deleted when
    // it closes; opening it would bring the file dialog's own inner names along.
    const auto saveDialog = std::find(listed.begin(), listed.end(), "savedialog1");
    ASSERT_NE(saveDialog, listed.end()) << "the save dialog is listed too";
    listed.erase(saveDialog);

    const Names inWindow = namesInWindow(window);
    EXPECT_EQ(notIn(inWindow, listed), Names{}) << "named in the window, not listed";
    EXPECT_EQ(notIn(listed, inWindow), Names{}) << "listed, not in the window";
}

}  // namespace
}  // namespace dyno
