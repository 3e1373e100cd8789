#include "app/pages/FilePage.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/system/FolderPlaces.h"
#include "files/SaveTarget.h"

namespace dyno {

namespace {

QLineEdit* previewBox(const char* name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    return box;
}

// Load buttons in slot order, with the slot colours.
struct LoadButton {
    const char* name;
    const char* caption;
    const char* colour;
};
constexpr LoadButton kLoadButtons[] = {
    {"loadred", "Test session 1", "#FF0000"},
    {"loadblue", "Test session 2", "#0000FF"},
    {"loadgreen", "Test session 3", "#008000"},
    {"loadlilla", "Test session 4", "#800080"},
};

}  // namespace

FilePage::FilePage(QStringList places, QWidget* parent)
    : QWidget(parent),
      places_(places.isEmpty() ? currentFolderPlaces() : std::move(places)),
      drives_(new QComboBox(this)),
      folderModel_(new QFileSystemModel(this)),
      folders_(new QTreeView(this)),
      files_(new QListWidget(this)),
      date_(previewBox("readfiledate", this)),
      time_(previewBox("readfiletime", this)),
      memo_(new QPlainTextEdit(this)),
      loaded_(new QLabel(this)) {
    setObjectName(QStringLiteral("readside1"));
    // In this order: the tab order follows the order of creation.
    setUpFolderBrowser();
    QComboBox* filter = makeFileList();
    QGroupBox* preview = makePreview();
    QGroupBox* load = makeLoadButtons();
    QPushButton* save = makeSaveButton();
    QPushButton* find = makeFindButton();
    layOutPage(filter, {preview, load, save, find});
    connectFolderBrowser();
    setInitialFolder(QDir::homePath());
}

void FilePage::setUpFolderBrowser() {
    drives_->setObjectName(QStringLiteral("DriveComboBox1"));
    drives_->addItems(places_);
    folderModel_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    folderModel_->setRootPath(QStringLiteral("/"));
    folders_->setObjectName(QStringLiteral("DirectoryListBox1"));
    folders_->setModel(folderModel_);
    folders_->setHeaderHidden(true);
    for (int column = 1; column < folderModel_->columnCount(); ++column) {
        folders_->hideColumn(column);
    }
}

// The file list's filter, and the remarks of the file chosen in it.
QComboBox* FilePage::makeFileList() {
    files_->setObjectName(QStringLiteral("filelistbox"));
    auto* filter = new QComboBox(this);
    filter->setObjectName(QStringLiteral("FilterComboBox1"));
    filter->addItem(QStringLiteral("All files (*.*)"));
    memo_->setObjectName(QStringLiteral("readfilememo"));
    memo_->setReadOnly(true);
    return filter;
}

QGroupBox* FilePage::makePreview() {
    auto* preview = new QGroupBox(this);
    auto* previewLayout = new QGridLayout(preview);
    previewLayout->addWidget(new QLabel(QStringLiteral("Date :"), preview), 0, 0);
    previewLayout->addWidget(date_, 0, 1);
    previewLayout->addWidget(new QLabel(QStringLiteral("Time :"), preview), 1, 0);
    previewLayout->addWidget(time_, 1, 1);
    previewLayout->addWidget(new QLabel(QStringLiteral("Test Remarks :"), preview), 2, 0, 1, 2);
    previewLayout->addWidget(memo_, 3, 0, 1, 2);
    return preview;
}

QGroupBox* FilePage::makeLoadButtons() {
    auto* load = new QGroupBox(QStringLiteral("Load test session into:"), this);
    auto* loadLayout = new QVBoxLayout(load);
    for (int slot = 1; slot <= 4; ++slot) {
        const LoadButton& spec = kLoadButtons[slot - 1];
        auto* button = new QPushButton(QString::fromLatin1(spec.caption), load);
        button->setObjectName(QString::fromLatin1(spec.name));
        button->setStyleSheet(
            QStringLiteral("QPushButton { color: %1; }").arg(QString::fromLatin1(spec.colour)));
        loadLayout->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, slot] { emit loadRequested(slot); });
    }
    // A load changes nothing on this page: say what happened, and where to look next.
    // Its room is kept whether it says something or not, so that the buttons above
    // never move under the mouse between two loads.
    loaded_->setObjectName(QStringLiteral("loadedtext"));
    loaded_->setWordWrap(true);
    loaded_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    keepLoadLineRoom();
    loadLayout->addWidget(loaded_);
    return load;
}

QPushButton* FilePage::makeSaveButton() {
    auto* save = new QPushButton(QStringLiteral("Save Test session 1"), this);
    save->setObjectName(QStringLiteral("savefile"));
    connect(save, &QPushButton::clicked, this, &FilePage::saveSession1Requested);
    return save;
}

QPushButton* FilePage::makeFindButton() {
    auto* find = new QPushButton(QStringLiteral("Find sessions"), this);
    find->setObjectName(QStringLiteral("findsessions"));
    find->setToolTip(QStringLiteral("Search the saved sessions (Ctrl+F)"));
    connect(find, &QPushButton::clicked, this, &FilePage::findSessionsRequested);
    // A window shortcut of this page fires only while the page is shown.
    auto* findKey = new QShortcut(QKeySequence::Find, this);
    connect(findKey, &QShortcut::activated, this, &FilePage::findSessionsRequested);
    return find;
}

// Three columns: the folders, the files, and what can be done with the chosen one.
void FilePage::layOutPage(QComboBox* filter, std::initializer_list<QWidget*> actionsTopDown) {
    auto* browse = new QVBoxLayout;
    browse->addWidget(drives_);
    browse->addWidget(folders_, 1);

    auto* list = new QVBoxLayout;
    list->addWidget(files_, 1);
    list->addWidget(filter);

    auto* actions = new QVBoxLayout;
    for (QWidget* action : actionsTopDown) actions->addWidget(action);
    actions->addStretch();

    auto* columns = new QHBoxLayout(this);
    columns->addLayout(browse, 3);
    columns->addLayout(list, 3);
    columns->addLayout(actions, 2);
}

void FilePage::connectFolderBrowser() {
    connect(drives_, &QComboBox::activated, this,
            [this](int index) { showFolder(drives_->itemText(index)); });
    // A click, and the arrow keys too: whatever makes a folder the current one.
    connect(folders_, &QTreeView::clicked, this,
            [this](const QModelIndex& index) { showFolder(folderModel_->filePath(index)); });
    connect(folders_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index) {
                const QString folder = QDir::cleanPath(folderModel_->filePath(index));
                if (index.isValid() && folder != currentFolder_) showFolder(folder);
            });
    connect(files_, &QListWidget::currentRowChanged, this, &FilePage::selectedFileChanged);
}

void FilePage::setInitialFolder(const QString& folder) {
    const QString shown =
        !folder.isEmpty() && QDir(folder).exists() ? QDir::cleanPath(folder) : QDir::homePath();
    saveFolder_ = shown;
    showFolder(shown);
}

void FilePage::showFolder(const QString& folder) {
    currentFolder_ = QDir::cleanPath(folder);
    const QString place = placeOfFolder(places_, currentFolder_);
    {
        const QSignalBlocker blocker(drives_);
        drives_->setCurrentIndex(drives_->findText(place));
    }
    folders_->setRootIndex(folderModel_->index(place.isEmpty() ? QStringLiteral("/") : place));
    folders_->setCurrentIndex(folderModel_->index(currentFolder_));
    listFiles(QString());
}

void FilePage::listFiles(const QString& keepSelected) {
    const QSignalBlocker blocker(files_);
    files_->clear();
    const QDir folder(currentFolder_);
    for (const QString& name : folder.entryList(QDir::Files, QDir::Name)) {
        // What a killed save left behind is no session to load.
        if (isLeftoverSaveTemporary(QFile::encodeName(folder.filePath(name)).toStdString())) {
            continue;
        }
        files_->addItem(name);
    }
    if (!keepSelected.isEmpty()) {
        const auto found = files_->findItems(keepSelected, Qt::MatchExactly);
        if (!found.isEmpty()) files_->setCurrentItem(found.front());
    }
}

QString FilePage::selectedFilePath() const {
    const QListWidgetItem* item = files_->currentItem();
    if (item == nullptr) return {};
    return QDir(currentFolder_).filePath(item->text());
}

bool FilePage::selectFile(const QString& fileName) {
    const auto found = files_->findItems(fileName, Qt::MatchExactly);
    if (found.isEmpty()) return false;
    files_->setCurrentItem(found.front());
    return true;
}

bool FilePage::showFile(const QString& path) {
    const QFileInfo file(path);
    showFolder(file.absolutePath());
    return selectFile(file.fileName());
}

void FilePage::refresh() {
    const QListWidgetItem* item = files_->currentItem();
    listFiles(item != nullptr ? item->text() : QString());
}

void FilePage::showPreview(const QString& remarkLine1, const QString& timeText,
                           const QString& dateText) {
    memo_->setPlainText(remarkLine1);
    time_->setText(timeText);
    date_->setText(dateText);
}

void FilePage::keepLoadLineRoom() {
    loaded_->setFixedHeight(4 * loaded_->fontMetrics().lineSpacing());
}

void FilePage::changeEvent(QEvent* event) {
    // The window sets its face after the pages are built.
    if (event->type() == QEvent::FontChange) keepLoadLineRoom();
    QWidget::changeEvent(event);
}

void FilePage::showLoaded(const QString& fileName, int slot) {
    loaded_->setText(QStringLiteral("%1 is loaded into Test session %2. Choose its run on the "
                                    "Graphs page.")
                         .arg(fileName)
                         .arg(slot));
    loadedSlot_ = slot;
}

void FilePage::clearLoaded() {
    loaded_->clear();
    loadedSlot_ = 0;
}

void FilePage::slotOverwritten(int slot) {
    if (slot == loadedSlot_) clearLoaded();
}

QString FilePage::loadedText() const {
    return loaded_->text();
}

}  // namespace dyno
