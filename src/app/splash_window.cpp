#include "app/splash_window.h"

#include "common/palette.h"
#include "common/window_placement.h"

#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace gridloom {

namespace {

constexpr QSize PictureSize{558, 378};

QLabel* makeCaption(QWidget* parent, const char* name, const QString& text, const QRect& place,
                    const QFont& font)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(place);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setFont(font);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setAutoFillBackground(false);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, splashCaption);
    label->setPalette(palette);
    return label;
}

} // namespace

SplashWindow::SplashWindow(std::function<void()> handOver, int delayMs)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint), m_handOver(std::move(handOver)),
      m_delayMs(delayMs)
{
    setObjectName(QStringLiteral("frmSplashScreen"));
    setWindowTitle(QStringLiteral("Gridloom"));
    setFixedSize(PictureSize);
    setAttribute(Qt::WA_DeleteOnClose, false);

    QPalette palette = this->palette();
    palette.setBrush(QPalette::Window, picture());
    setPalette(palette);
    setAutoFillBackground(true);

    QFont versionFont(QStringLiteral("Arial"));
    versionFont.setPointSizeF(9.75);
    versionFont.setBold(true);
    QFont levelFont(QStringLiteral("Arial"));
    levelFont.setPointSizeF(8.25);
    m_version = makeCaption(this, "lblVersion", QStringLiteral("Version 1.2"),
                            QRect(140, 272, 105, 17), versionFont);
    m_level = makeCaption(this, "lblLevel", QStringLiteral("March 30, 2011"),
                          QRect(140, 288, 105, 17), levelFont);
    // A click on the captions must not end the splash; a plain label would pass it on to us.
    m_version->installEventFilter(this);
    m_level->installEventFilter(this);

    m_wait.setSingleShot(true);
    m_wait.setTimerType(Qt::PreciseTimer);
    connect(&m_wait, &QTimer::timeout, this, &SplashWindow::onWaitTimeout);
}

void SplashWindow::start()
{
    centerOnScreen(*this);
    show();
    m_clock.start();
    m_wait.start(m_delayMs);
}

void SplashWindow::onWaitTimeout()
{
    // Even a precise timer may fire a millisecond early; the tick count has the last word.
    const qint64 left = m_delayMs - m_clock.elapsed();
    if (left > 0) {
        m_wait.start(int(left));
        return;
    }
    if (!m_clicked) {
        close();
        handOverOnce();
    }
}

void SplashWindow::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (m_clicked)
        return;
    m_clicked = true;
    close();
    handOverOnce();
}

bool SplashWindow::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void SplashWindow::handOverOnce()
{
    if (m_handedOver)
        return;
    m_handedOver = true;
    if (m_handOver)
        m_handOver();
}

QPixmap SplashWindow::picture()
{
    QPixmap pixmap(PictureSize);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    // Night-blue sky fading into the colour of a weather map's low levels.
    QLinearGradient sky(0, 0, 0, PictureSize.height());
    sky.setColorAt(0.0, skyTop);
    sky.setColorAt(1.0, skyBottom);
    painter.fillRect(pixmap.rect(), sky);

    // A model grid seen in perspective, one level stacked under the other for each colour of
    // the palette: what a 3D.DAT file holds.
    double top = 150;
    for (const QColor& colour : splashLevels) {
        const double depth = 70;
        painter.setPen(QPen(colour, 1));
        const QPointF farLeft(330, top), farRight(530, top), nearLeft(270, top + depth),
            nearRight(550, top + depth);
        for (int i = 0; i <= 10; ++i) {
            const double t = i / 10.0;
            painter.drawLine(farLeft + (farRight - farLeft) * t,
                             nearLeft + (nearRight - nearLeft) * t);
            painter.drawLine(farLeft + (nearLeft - farLeft) * t,
                             farRight + (nearRight - farRight) * t);
        }
        top += 28;
    }

    // Wind arrows over the top level.
    painter.setPen(QPen(windArrows, 2));
    for (int i = 0; i < 5; ++i) {
        const QPointF from(300 + i * 45, 120 + (i % 2) * 12);
        const QPointF to = from + QPointF(30, -10);
        painter.drawLine(from, to);
        QPainterPath head;
        head.moveTo(to);
        head.lineTo(to + QPointF(-9, -1));
        head.lineTo(to + QPointF(-5, 7));
        head.closeSubpath();
        painter.fillPath(head, windArrows);
    }

    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(54);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QRect(28, 60, 300, 70), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Gridloom"));

    QFont subtitle(QStringLiteral("Arial"));
    subtitle.setPixelSize(16);
    painter.setFont(subtitle);
    painter.setPen(splashSubtitle);
    painter.drawText(QRect(30, 128, 260, 60), Qt::AlignLeft | Qt::TextWordWrap,
                     QStringLiteral("Gridded 3-D weather data:\nextract, append and merge"));

    painter.setPen(splashRule);
    painter.drawLine(28, 262, 250, 262);
    return pixmap;
}

} // namespace gridloom
