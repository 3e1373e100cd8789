#include "app/dialogs/FindSessionsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <exception>

#include "app/files/LibraryRescan.h"
#include "library/LibraryIndex.h"
#include "library/LibraryScan.h"

namespace dyno {

namespace {

// Rows shown at most: the newest or strongest; more words narrow the list.
constexpr int kShownResults = 500;

enum Column { kDate, kMake, kModel, kOwner, kMaxPower, kFile, kColumns };

std::filesystem::path toPath(const QString& file) {
    return std::filesystem::path(QFile::encodeName(file).toStdString());
}

QString fromPath(const std::filesystem::path& file) {
    return QFile::decodeName(QByteArray::fromStdString(file.string()));
}

std::int64_t dayStartNs(const QDate& day, int dayOffset) {
    return QDateTime(day.addDays(dayOffset), QTime(0, 0)).toMSecsSinceEpoch() * 1'000'000;
}

QTableWidgetItem* cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

}  // namespace

FindSessionsDialog::FindSessionsDialog(std::filesystem::path indexFile, QWidget* parent)
    : QDialog(parent),
      indexFile_(std::move(indexFile)),
      rescan_(new LibraryRescan(indexFile_, this)),
      words_(new QLineEdit(this)),
      dyno_(new QComboBox(this)),
      minPower_(new QDoubleSpinBox(this)),
      useSince_(new QCheckBox(QStringLiteral("From"), this)),
      since_(new QDateEdit(QDate::currentDate().addYears(-1), this)),
      useUntil_(new QCheckBox(QStringLiteral("To"), this)),
      until_(new QDateEdit(QDate::currentDate(), this)),
      order_(new QComboBox(this)),
      results_(new QTableWidget(0, kColumns, this)),
      folder_(new QLineEdit(this)),
      rescanButton_(new QPushButton(QStringLiteral("Rescan"), this)),
      progress_(new QProgressBar(this)),
      cancelButton_(new QPushButton(QStringLiteral("Cancel"), this)),
      status_(new QLabel(this)) {
    setObjectName(QStringLiteral("findsessionsdialog"));
    setWindowTitle(QStringLiteral("Find sessions"));
    setUpFilters();
    setUpResults();
    setUpRescanRow();
    layOutDialog();
    connectSearch();
    connectRescan();
}

void FindSessionsDialog::setUpFilters() {
    words_->setObjectName(QStringLiteral("findwords"));
    words_->setPlaceholderText(QStringLiteral("Make, model, owner or remarks"));
    words_->setClearButtonEnabled(true);
    dyno_->setObjectName(QStringLiteral("finddyno"));
    dyno_->addItems({QStringLiteral("Any dyno"), QStringLiteral("K40"), QStringLiteral("K70"),
                     QStringLiteral("K80")});
    minPower_->setObjectName(QStringLiteral("findminpower"));
    minPower_->setRange(0.0, 999.0);
    minPower_->setDecimals(1);
    minPower_->setSuffix(QStringLiteral(" hp"));
    minPower_->setSpecialValueText(QStringLiteral("Any power"));
    for (QDateEdit* date : {since_, until_}) {
        date->setCalendarPopup(true);
        date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    }
    order_->setObjectName(QStringLiteral("findorder"));
    order_->addItems({QStringLiteral("Newest first"), QStringLiteral("Most power first")});
}

void FindSessionsDialog::setUpResults() {
    results_->setObjectName(QStringLiteral("findresults"));
    results_->setHorizontalHeaderLabels({QStringLiteral("Date"), QStringLiteral("Make"),
                                         QStringLiteral("Model"), QStringLiteral("Owner"),
                                         QStringLiteral("Max power"), QStringLiteral("File")});
    results_->setSelectionBehavior(QAbstractItemView::SelectRows);
    results_->setSelectionMode(QAbstractItemView::SingleSelection);
    results_->verticalHeader()->hide();
    results_->horizontalHeader()->setStretchLastSection(true);
}

void FindSessionsDialog::setUpRescanRow() {
    folder_->setObjectName(QStringLiteral("findfolder"));
    rescanButton_->setObjectName(QStringLiteral("findrescan"));
    progress_->setObjectName(QStringLiteral("findprogress"));
    cancelButton_->setObjectName(QStringLiteral("findcancel"));
    status_->setObjectName(QStringLiteral("findstatus"));
    status_->setWordWrap(true);
}

// The filters above the results, the library's folder and its rescan below.
void FindSessionsDialog::layOutDialog() {
    auto* filters = new QGridLayout;
    filters->addWidget(new QLabel(QStringLiteral("Search:"), this), 0, 0);
    filters->addWidget(words_, 0, 1, 1, 5);
    filters->addWidget(useSince_, 1, 0);
    filters->addWidget(since_, 1, 1);
    filters->addWidget(useUntil_, 1, 2);
    filters->addWidget(until_, 1, 3);
    filters->addWidget(dyno_, 1, 4);
    filters->addWidget(minPower_, 1, 5);
    filters->addWidget(new QLabel(QStringLiteral("Sort:"), this), 2, 0);
    filters->addWidget(order_, 2, 1);

    auto* scanRow = new QHBoxLayout;
    scanRow->addWidget(new QLabel(QStringLiteral("Folder:"), this));
    scanRow->addWidget(folder_, 1);
    scanRow->addWidget(rescanButton_);
    scanRow->addWidget(progress_);
    scanRow->addWidget(cancelButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(results_, 1);
    layout->addLayout(scanRow);
    layout->addWidget(status_);
    resize(820, 520);
    showRescanRunning(false);
}

// Every change of a filter searches again; choosing a result names its file.
void FindSessionsDialog::connectSearch() {
    connect(words_, &QLineEdit::textChanged, this, &FindSessionsDialog::search);
    connect(dyno_, &QComboBox::currentIndexChanged, this, &FindSessionsDialog::search);
    connect(order_, &QComboBox::currentIndexChanged, this, &FindSessionsDialog::search);
    connect(minPower_, &QDoubleSpinBox::valueChanged, this, &FindSessionsDialog::search);
    for (QCheckBox* box : {useSince_, useUntil_}) {
        connect(box, &QCheckBox::toggled, this, &FindSessionsDialog::search);
    }
    for (QDateEdit* date : {since_, until_}) {
        connect(date, &QDateEdit::dateChanged, this, &FindSessionsDialog::search);
    }
    connect(results_, &QTableWidget::currentCellChanged, this, [this](int row) { chooseRow(row); });
    connect(results_, &QTableWidget::cellActivated, this, [this](int row) {
        chooseRow(row);
        accept();
    });
}

void FindSessionsDialog::connectRescan() {
    connect(rescanButton_, &QPushButton::clicked, this, &FindSessionsDialog::rescan);
    connect(cancelButton_, &QPushButton::clicked, rescan_, &LibraryRescan::cancel);
    connect(rescan_, &LibraryRescan::progressed, this, [this](int examined, int found) {
        progress_->setRange(0, found);
        progress_->setValue(examined);
    });
    connect(rescan_, &LibraryRescan::finished, this, [this](const QString& summary) {
        showRescanRunning(false);
        status_->setText(summary);
        search();
    });
}

FindSessionsDialog::~FindSessionsDialog() = default;

LibraryIndex& FindSessionsDialog::index() {
    if (!index_) {
        index_ = std::make_unique<LibraryIndex>(indexFile_);
        const LibraryOpenReport& opened = index_->openReport();
        if (opened.rebuilt) {
            status_->setText(QString::fromStdString(opened.message));
            rescan_->start(opened.foldersToRescan);
            showRescanRunning(true);
        }
    }
    return *index_;
}

void FindSessionsDialog::setFolder(const QString& folder) {
    folder_->setText(folder);
}

void FindSessionsDialog::rescan() {
    if (rescan_->isRunning() || folder_->text().isEmpty()) return;
    try {
        index();  // a damaged index is set aside before the scan opens its own connection
    } catch (const std::exception& error) {
        // A file in the index's place that is not one stays as it is.
        status_->setText(QString::fromLocal8Bit(error.what()));
        return;
    }
    if (rescan_->isRunning()) return;
    progress_->setRange(0, 0);
    showRescanRunning(true);
    status_->setText(QStringLiteral("Scanning %1").arg(QDir::toNativeSeparators(folder_->text())));
    rescan_->start({toPath(folder_->text())});
}

void FindSessionsDialog::showRescanRunning(bool running) {
    rescanButton_->setEnabled(!running);
    cancelButton_->setEnabled(running);
    progress_->setVisible(running);
}

LibraryQuery FindSessionsDialog::query() const {
    LibraryQuery query;
    query.words = words_->text().toStdString();
    if (dyno_->currentIndex() > 0) query.dynoModel = dyno_->currentIndex() - 1;
    if (minPower_->value() > 0.0) query.minPowerHp = minPower_->value();
    if (useSince_->isChecked()) query.sinceNs = dayStartNs(since_->date(), 0);
    if (useUntil_->isChecked()) query.untilNs = dayStartNs(until_->date(), 1);
    query.order =
        order_->currentIndex() == 1 ? LibraryOrder::mostPowerFirst : LibraryOrder::newestFirst;
    query.limit = kShownResults;
    return query;
}

void FindSessionsDialog::search() {
    std::vector<IndexedSession> found;
    try {
        found = index().search(query());
    } catch (const std::exception& error) {
        status_->setText(QString::fromLocal8Bit(error.what()));
    }
    results_->setRowCount(0);
    results_->setRowCount(static_cast<int>(found.size()));
    for (int row = 0; row < static_cast<int>(found.size()); ++row) {
        const IndexedSession& s = found[static_cast<std::size_t>(row)];
        const QString path = fromPath(s.path);
        auto* date = cell(QDateTime::fromMSecsSinceEpoch(s.stamp.modifiedNs / 1'000'000)
                              .toString(QStringLiteral("yyyy-MM-dd hh:mm")));
        date->setData(Qt::UserRole, path);
        results_->setItem(row, kDate, date);
        results_->setItem(row, kMake, cell(QString::fromStdString(s.make)));
        results_->setItem(row, kModel, cell(QString::fromStdString(s.model)));
        results_->setItem(row, kOwner, cell(QString::fromStdString(s.owner)));
        results_->setItem(row, kMaxPower, cell(QString::number(s.maxPowerHp(), 'f', 2)));
        auto* file = cell(QFileInfo(path).fileName());
        file->setToolTip(QDir::toNativeSeparators(path));
        results_->setItem(row, kFile, file);
    }
}

void FindSessionsDialog::takeSavedArchive(const QString& archive) {
    try {
        indexArchive(index(), toPath(archive));
    } catch (const std::exception& error) {
        status_->setText(QString::fromLocal8Bit(error.what()));
    }
    if (isVisible()) search();
}

int FindSessionsDialog::resultCount() const {
    return results_->rowCount();
}

QString FindSessionsDialog::resultPath(int row) const {
    const QTableWidgetItem* item = results_->item(row, kDate);
    return item ? item->data(Qt::UserRole).toString() : QString();
}

void FindSessionsDialog::chooseRow(int row) {
    const QString path = resultPath(row);
    if (!path.isEmpty()) emit fileChosen(path);
}

}  // namespace dyno
