#pragma once

#include <QDialog>
#include <QString>
#include <filesystem>
#include <memory>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace dyno {

class LibraryIndex;
class LibraryRescan;
struct LibraryQuery;

// "Find sessions": searches the session index as the user types (words of make,
// model, owner and remarks, a date range, the dyno model, a minimum power) and lists
// what it finds, newest or strongest first. Choosing a row hands that archive to the
// File page, whose preview and load buttons then work on it. "Rescan" brings the
// index up to date with a folder tree, with a progress bar and a Cancel.
class FindSessionsDialog : public QDialog {
    Q_OBJECT
  public:
    FindSessionsDialog(std::filesystem::path indexFile, QWidget* parent = nullptr);
    ~FindSessionsDialog() override;

    // The folder "Rescan" scans (the File page's folder when the dialog opens).
    void setFolder(const QString& folder);
    // Scans the folder now.
    void rescan();
    // Searches again with what the boxes hold.
    void search();
    // Takes a just-saved archive into the index.
    void takeSavedArchive(const QString& archive);

    int resultCount() const;
    QString resultPath(int row) const;

  signals:
    void fileChosen(const QString& path);

  private:
    // The constructor's steps.
    void setUpFilters();
    void setUpResults();
    void setUpRescanRow();
    void layOutDialog();
    void connectSearch();
    void connectRescan();

    LibraryIndex& index();
    LibraryQuery query() const;
    void showRescanRunning(bool running);
    void chooseRow(int row);

    std::filesystem::path indexFile_;
    std::unique_ptr<LibraryIndex> index_;
    LibraryRescan* rescan_;
    QLineEdit* words_;
    QComboBox* dyno_;
    QDoubleSpinBox* minPower_;
    QCheckBox* useSince_;
    QDateEdit* since_;
    QCheckBox* useUntil_;
    QDateEdit* until_;
    QComboBox* order_;
    QTableWidget* results_;
    QLineEdit* folder_;
    QPushButton* rescanButton_;
    QProgressBar* progress_;
    QPushButton* cancelButton_;
    QLabel* status_;
};

}  // namespace dyno
