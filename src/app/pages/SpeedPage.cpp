#include "app/pages/SpeedPage.h"

#include "display/DynoEmblem.h"

#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>

#include "widgets/DigitCounter.h"
#include "widgets/LevelBar.h"
#include "widgets/ShadowLabel.h"

namespace dyno {

namespace {

QColor colourOf(Rgb rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb));
}

// `pbox1`: shows what the page has drawn on it, over the dial picture.
class PaintBox final : public QWidget {
  public:
    PaintBox(const QImage& drawing, QWidget* parent) : QWidget(parent), drawing_(drawing) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        const QRect area = event->rect();
        painter.drawImage(area, drawing_, area);
    }

  private:
    const QImage& drawing_;
};

void makeBlack(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Qt::black);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QLabel* addChannelLabel(QWidget* parent, const char* name, const QString& text, QPoint at) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setStyleSheet(QStringLiteral("color: #FFFF00; background: #000000;"));
    label->move(at);
    label->adjustSize();
    return label;
}

}  // namespace

SpeedPage::SpeedPage(QWidget* parent)
    : QWidget(parent),
      drawing_(speedo::kPaintBoxSize, QImage::Format_ARGB32_Premultiplied),
      paintBox_(nullptr),
      riderInstruction_(nullptr),
      noAnswer_(nullptr),
      runNumber_(nullptr),
      stop_(nullptr) {
    setObjectName(QStringLiteral("speedopage"));
    drawing_.fill(Qt::transparent);

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel25"));
    panel->setGeometry(4, 0, 785, 541);
    makeBlack(panel);

    auto* picture = new QLabel(panel);
    picture->setObjectName(QStringLiteral("Image6"));
    picture->setGeometry(QRect(QPoint(0, 0), speedo::kDialPictureSize));
    picture->setPixmap(QPixmap::fromImage(speedo::dialPicture()));

    paintBox_ = new PaintBox(drawing_, panel);
    paintBox_->setObjectName(QStringLiteral("pbox1"));
    paintBox_->setGeometry(QRect(QPoint(0, 0), speedo::kPaintBoxSize));

    riderInstruction_ = new ShadowLabel(panel);
    riderInstruction_->setObjectName(QStringLiteral("remotetext"));
    riderInstruction_->setGeometry(4, 12, 770, 37);
    QFont large = font();
    large.setPixelSize(28);
    large.setBold(true);
    riderInstruction_->setFont(large);
    riderInstruction_->setText(QStringLiteral("Remote function"));
    riderInstruction_->setBackgroundColour(Qt::black);
    riderInstruction_->setHighlightColour(Qt::black);
    riderInstruction_->setShadowColour(Qt::red);

    // Between the instruction and the emblem; the instruction itself stays, so the
    // rider still sees what the program waits for.
    noAnswer_ = new QLabel(panel);
    noAnswer_->setObjectName(QStringLiteral("noanswertext"));
    noAnswer_->setGeometry(4, 46, 770, 19);
    noAnswer_->setAlignment(Qt::AlignCenter);
    noAnswer_->setStyleSheet(QStringLiteral("color: #FF0000; font-weight: bold;"));
    noAnswer_->hide();

    runNumber_ = new DigitCounter(panel);
    runNumber_->setObjectName(QStringLiteral("digit"));
    runNumber_->setGeometry(368, 144, 50, 80);

    const char* barNames[] = {"ad1_bar", "ad2_bar"};
    const QPoint barPlaces[] = {{40, 515}, {440, 515}};
    for (std::size_t i = 0; i < bars_.size(); ++i) {
        bars_[i] = new LevelBar(panel);
        bars_[i]->setObjectName(QString::fromLatin1(barNames[i]));
        bars_[i]->setGeometry(QRect(barPlaces[i], QSize(299, 20)));
    }
    bars_[0]->setPosition(50);
    addChannelLabel(panel, "Label43", QStringLiteral("Ch.1"), {6, 518});
    addChannelLabel(panel, "Label45", QStringLiteral("Ch.2"), {406, 518});

    auto* emblem = new QLabel(panel);
    emblem->setObjectName(QStringLiteral("image2"));
    emblem->setGeometry(304, 62, 180, 78);
    emblem->setPixmap(QPixmap::fromImage(dynoEmblem(emblem->size())));

    // Below the rpm dial, clear of its needle's sweep.
    stop_ = new QPushButton(QStringLiteral("Stop"), panel);
    stop_->setObjectName(QStringLiteral("stopbutton"));
    stop_->setGeometry(700, 470, 75, 25);
    stop_->hide();
}

void SpeedPage::showRemoteText(std::string_view text, Rgb shadow, Rgb font) {
    riderInstruction_->setShadowColour(colourOf(shadow));
    riderInstruction_->setFontColour(colourOf(font));
    showRemoteTextInLastColours(text);
}

void SpeedPage::showRemoteTextInLastColours(std::string_view text) {
    const QString shown = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    riderInstruction_->setText(shown);
    emit riderInstructionShown(shown);
}

int SpeedPage::runNumber() const {
    return runNumber_->digit();
}

void SpeedPage::showNoAnswer(const QString& text) {
    noAnswer_->setText(text);
    noAnswer_->setVisible(!text.isEmpty());
}

QString SpeedPage::noAnswerText() const {
    return noAnswer_->isHidden() ? QString() : noAnswer_->text();
}

void SpeedPage::showDigit(int digit) {
    runNumber_->setDigit(digit);
}

void SpeedPage::drawNeedle(Dial dial, int position, Rgb colour) {
    const speedo::NeedleTable& table = tables_.of(dial);
    {
        QPainter painter(&drawing_);
        // Erasing gives the paint box its transparency back.
        if (colour == Rgb::Black) painter.setCompositionMode(QPainter::CompositionMode_Clear);
        speedo::drawNeedle(painter, table, position, colourOf(colour));
    }
    paintBox_->update(QRect(table.centre, table.end(position)).normalized().adjusted(-1, -1, 1, 1));
}

void SpeedPage::moveK40Marker(int channel, int oldPosition, int position) {
    moveMarker(speedo::k40MarkerRect(channel, oldPosition),
               speedo::k40MarkerRect(channel, position));
}

void SpeedPage::moveCardMarker(int channel, int oldOffset, int offset) {
    moveMarker(speedo::cardMarkerRect(channel, oldOffset), speedo::cardMarkerRect(channel, offset));
}

void SpeedPage::moveMarker(const QRect& erased, const QRect& drawn) {
    {
        QPainter painter(&drawing_);
        painter.setCompositionMode(QPainter::CompositionMode_Clear);
        painter.fillRect(erased, Qt::black);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.fillRect(drawn, colourOf(Rgb::Yellow));
    }
    paintBox_->update(erased.united(drawn));
}

void SpeedPage::setBarZones(const std::array<BarMarkerPositions, 2>& zones) {
    for (std::size_t i = 0; i < bars_.size(); ++i) {
        bars_[i]->setZoneLimits(zones[i].first, zones[i].second);
    }
}

}  // namespace dyno
