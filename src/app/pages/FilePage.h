#pragma once

#include <initializer_list>

#include <QString>
#include <QStringList>
#include <QWidget>

class QComboBox;
class QFileSystemModel;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTreeView;

namespace dyno {

// The File page: places, folder tree and file list to find saved sessions, the
// preview of the selected file, the four load buttons and "Save Test session 1".
// The page shows and asks; loading, previewing and saving are SessionFileActions.
class FilePage : public QWidget {
    Q_OBJECT
  public:
    // `places` are the entries of `DriveComboBox1`; empty means this machine's.
    explicit FilePage(QStringList places = {}, QWidget* parent = nullptr);

    // The folder of the settings file: shown by the file list and where the save
    // dialog starts. A folder that does not exist (a stored "C:\", a stick that was
    // pulled) falls back to the user's home folder.
    void setInitialFolder(const QString& folder);

    // The folder the file list shows.
    QString currentFolder() const { return currentFolder_; }
    void showFolder(const QString& folder);

    // Where the save dialog starts; a save moves it to the folder saved into.
    QString saveFolder() const { return saveFolder_; }
    void setSaveFolder(const QString& folder) { saveFolder_ = folder; }

    // The full path of the selected file, empty when none is selected.
    QString selectedFilePath() const;
    // Selects a file of the current folder by name; false when it is not listed.
    bool selectFile(const QString& fileName);
    // Shows the folder of `path` and selects the file in it (a session found by
    // "Find sessions"); false when the file is not listed there.
    bool showFile(const QString& path);

    // Lists the folder again (after a save), keeping the selection.
    void refresh();

    void showPreview(const QString& remarkLine1, const QString& timeText, const QString& dateText);
    // Under the load buttons: which file went into which session, and where its run
    // is chosen. A load that failed leaves it empty.
    void showLoaded(const QString& fileName, int slot);
    void clearLoaded();
    // A test records into `slot`: a line about that slot no longer holds.
    void slotOverwritten(int slot);
    QString loadedText() const;

  signals:
    void selectedFileChanged();
    // "Test session 1" .. "Test session 4" under "Load test session into:".
    void loadRequested(int slot);
    void saveSession1Requested();
    // "Find sessions" or Ctrl+F while the page is shown.
    void findSessionsRequested();

  protected:
    void changeEvent(QEvent* event) override;

  private:
    // The constructor's steps, in the order the controls are made.
    void setUpFolderBrowser();
    QComboBox* makeFileList();
    QGroupBox* makePreview();
    QGroupBox* makeLoadButtons();
    QPushButton* makeSaveButton();
    QPushButton* makeFindButton();
    void layOutPage(QComboBox* filter, std::initializer_list<QWidget*> actionsTopDown);
    void connectFolderBrowser();

    // Four lines of the load line in the page's font.
    void keepLoadLineRoom();

    void listFiles(const QString& keepSelected);

    QStringList places_;
    QString currentFolder_;
    QString saveFolder_;
    QComboBox* drives_;
    QFileSystemModel* folderModel_;
    QTreeView* folders_;
    QListWidget* files_;
    QLineEdit* date_;
    QLineEdit* time_;
    QPlainTextEdit* memo_;
    QLabel* loaded_;
    int loadedSlot_ = 0;  // the slot the line names, 0 for none
};

}  // namespace dyno
