#include "shell/TfrmCover.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace {

// The picture shown when no cover file is installed.
QPixmap BuiltInCover()
{
    QPixmap picture(420, 240);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 0, picture.height());
    background.setColorAt(0, QColor(0x34, 0x4F, 0x94));
    background.setColorAt(1, QColor(0x12, 0x1E, 0x40));
    painter.fillRect(picture.rect(), background);
    painter.setPen(QColor(255, 255, 255, 60));
    for (int x = -240; x < picture.width(); x += 24) painter.drawLine(x, picture.height(), x + 240, 0);
    QFont title = painter.font();
    title.setPixelSize(44);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 70, picture.width(), 60), Qt::AlignCenter, QStringLiteral("Varnel"));
    QFont line = painter.font();
    line.setPixelSize(15);
    line.setBold(false);
    painter.setFont(line);
    painter.setPen(QColor(0xDD, 0xE6, 0xFF));
    painter.drawText(QRect(0, 132, picture.width(), 30), Qt::AlignCenter, QStringLiteral("Video Converter"));
    painter.drawText(QRect(0, 200, picture.width(), 24), Qt::AlignCenter, QStringLiteral("Loading..."));
    return picture;
}

} // namespace

QString TfrmCover::CoverPicturePath()
{
    return QApplication::applicationDirPath() + QStringLiteral("/skin/varnelcover.jpg");
}

TfrmCover::TfrmCover(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    imgCover = new QLabel(this);
    QPixmap picture;
    const QString path = CoverPicturePath();
    if (QFileInfo::exists(path) && picture.load(path)) loadedPicture_ = true;
    else picture = BuiltInCover();
    imgCover->setPixmap(picture);
    imgCover->resize(picture.size());

    tmr1 = new QTimer(this);
    tmr1->setInterval(1000);
    connect(tmr1, &QTimer::timeout, this, &TfrmCover::tmr1Timer);
    tmr1->start();
}

void TfrmCover::showEvent(QShowEvent* event)
{
    resize(imgCover->pixmap().size());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    QWidget::showEvent(event);
}

void TfrmCover::tmr1Timer()
{
    if (mainWindow_ && mainWindow_->isVisible()) {
        tmr1->stop();
        close();
    }
}
