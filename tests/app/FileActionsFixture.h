#pragma once

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "RecordingMessageSink.h"
#include "app/files/SessionFileActions.h"
#include "app/pages/FilePage.h"
#include "app/pages/ParamPage.h"
#include "app/pages/RemarksPage.h"
#include "model/SessionModel.h"
#include "support/StandInElectronics.h"

namespace dyno::testing {

template <typename T>
T* control(const QWidget& page, const char* name) {
    T* found = page.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

inline QString text(const QWidget& page, const char* name) {
    if (auto* edit = page.findChild<QLineEdit*>(QString::fromLatin1(name))) return edit->text();
    if (auto* combo = page.findChild<QComboBox*>(QString::fromLatin1(name))) {
        return combo->currentText();
    }
    ADD_FAILURE() << "no text control " << name;
    return {};
}

inline void setText(const QWidget& page, const char* name, const QString& value) {
    if (auto* combo = page.findChild<QComboBox*>(QString::fromLatin1(name))) {
        combo->setEditText(value);
        return;
    }
    if (auto* edit = control<QLineEdit>(page, name)) edit->setText(value);
}

inline void click(const QWidget& page, const char* name) {
    if (auto* button = control<QPushButton>(page, name)) button->click();
}

// The Param., Remarks and File pages on a model, as the window wires them, with
// the save dialog and the overwrite question answered by the test and the File
// page showing a fresh temporary folder.
class SessionPagesFixture : public ::testing::Test {
  protected:
    SessionPagesFixture()
        : model(SessionModel::create()),
          filePage({QStringLiteral("/"), QDir::homePath()}),
          actions(*model, paramPage, remarksPage, filePage, sink, standIn.lock) {
        filePage.setInitialFolder(folder.path());
        actions.setSaveNameQuestion(
            [this](const QString& startFolder, const std::function<void(const QString&)>& save) {
                dialogFolders.push_back(startFolder);
                if (!chosenName.isEmpty()) save(QDir(startFolder).filePath(chosenName));
            });
        actions.setOverwriteQuestion([this](const QString& archive) {
            overwriteQuestions.push_back(archive);
            return overwriteAnswer;
        });
    }

    QString path(const QString& name) const { return QDir(folder.path()).filePath(name); }

    // Saves session 1 under `name`, as chosen in the save dialog.
    void saveAs(const QString& name) {
        chosenName = name;
        actions.saveSession1();
    }

    // Selects `name` in the file list and presses the load button of `slot`.
    void loadInto(const QString& name, int slot) {
        filePage.refresh();
        ASSERT_TRUE(filePage.selectFile(name)) << name.toStdString();
        const char* buttons[] = {"loadred", "loadblue", "loadgreen", "loadlilla"};
        click(filePage, buttons[slot - 1]);
    }

    QTemporaryDir folder;
    std::unique_ptr<SessionModel> model;
    RecordingMessageSink sink;
    testing::StandInSlot1 standIn{sink};
    ParamPage paramPage;
    RemarksPage remarksPage;
    FilePage filePage;
    SessionFileActions actions;

    QString chosenName;  // empty: the dialog is cancelled
    std::vector<QString> dialogFolders;
    bool overwriteAnswer = false;
    std::vector<QString> overwriteQuestions;
};

}  // namespace dyno::testing
