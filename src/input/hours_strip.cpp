#include "input/hours_strip.h"

#include "common/native_text.h"
#include "common/palette.h"
#include "input/time_axis.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace gridloom {

namespace {

using namespace std::chrono;

constexpr double axisHeight = 34.0;
constexpr double coverageHeight = 14.0;
constexpr double rowsTop = axisHeight + coverageHeight + 8.0;
constexpr double bottomMargin = 4.0;
constexpr double rightMargin = 10.0;
constexpr double largestRow = 24.0;
// From six hours, where the hour labels read well, to a thousand years.
constexpr double narrowestView = 6.0;
constexpr double widestView = 1000.0 * 8766.0;

// The whole pixels from left to right (at least two, so one hour stays visible however far out
// the view is) and from top to bottom. The raster engine fills whole pixels directly and
// fractions through its rasterizer, which with a thousand bars is most of a frame.
QRect pixelRect(double left, double right, double top, double bottom)
{
    const int x = int(std::floor(left));
    const int y = int(std::round(top));
    return QRect(x, y, std::max(int(std::ceil(right)) - x, 2),
                 std::max(int(std::round(bottom)) - y, 1));
}

double hourValue(DateHour hour)
{
    return static_cast<double>(hour.time_since_epoch().count());
}

} // namespace

HoursStrip::HoursStrip(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("HoursStrip"));
    setMouseTracking(true);
    setCursor(Qt::OpenHandCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

QSize HoursStrip::sizeHint() const
{
    return {900, 360};
}

QSize HoursStrip::minimumSizeHint() const
{
    return {320, 140};
}

void HoursStrip::setCoverage(InputCoverage coverage, QStringList paths)
{
    m_coverage = std::move(coverage);
    m_paths = std::move(paths);
    m_otherGrid.assign(m_coverage.files.size(), false);
    for (const GridDifference& difference : m_coverage.gridDifferences)
        m_otherGrid[difference.file] = true;
    m_labelWidth = fontMetrics().horizontalAdvance(
                       QString::number(std::max<std::size_t>(m_coverage.files.size(), 10))) +
                   14;
    if (m_fitting)
        fit();
    update();
}

void HoursStrip::fit()
{
    m_fitting = true;
    std::optional<HourSpan> all = m_coverage.period;
    for (const HourSpan& file : m_coverage.files) {
        if (!all)
            all = file;
        all->first = std::min(all->first, file.first);
        all->last = std::max(all->last, file.last);
    }
    if (!all) {
        update();
        return;
    }
    const double first = hourValue(all->first);
    const double last = hourValue(all->last) + 1.0;
    const double margin = std::max((last - first) * 0.02, 1.0);
    showHours(first - margin, last + margin);
    m_fitting = true;
}

void HoursStrip::showHours(double first, double last)
{
    double span = std::clamp(last - first, narrowestView, widestView);
    const double middle = (first + last) / 2.0;
    m_fitting = false;
    m_viewFirst = middle - span / 2.0;
    m_viewLast = middle + span / 2.0;
    update();
}

QRectF HoursStrip::plotArea() const
{
    return QRectF(QPointF(m_labelWidth, rowsTop),
                  QPointF(width() - rightMargin, height() - bottomMargin));
}

QRectF HoursStrip::coverageRow() const
{
    const QRectF plot = plotArea();
    return QRectF(plot.left(), axisHeight + 3.0, plot.width(), coverageHeight);
}

double HoursStrip::rowHeight() const
{
    const std::size_t count = std::max<std::size_t>(m_coverage.files.size(), 1);
    return std::min(largestRow, plotArea().height() / static_cast<double>(count));
}

double HoursStrip::hoursPerPixel() const
{
    return (m_viewLast - m_viewFirst) / std::max(plotArea().width(), 1.0);
}

double HoursStrip::xOfHour(double hour) const
{
    return plotArea().left() + (hour - m_viewFirst) / hoursPerPixel();
}

double HoursStrip::yOfFile(std::size_t file) const
{
    return rowsTop + (static_cast<double>(file) + 0.5) * rowHeight();
}

int HoursStrip::fileAt(QPointF point) const
{
    if (m_coverage.files.empty() || point.y() < rowsTop)
        return -1;
    const auto row = static_cast<std::size_t>((point.y() - rowsTop) / rowHeight());
    if (row >= m_coverage.files.size())
        return -1;
    // A short bar is hard to hit: a few pixels beside it still count.
    const HourSpan& span = m_coverage.files[row];
    const double slack = 3.0 * hoursPerPixel();
    const double hour = m_viewFirst + (point.x() - plotArea().left()) * hoursPerPixel();
    if (hour < hourValue(span.first) - slack || hour > hourValue(span.last) + 1.0 + slack)
        return -1;
    return static_cast<int>(row);
}

QString HoursStrip::describeFile(std::size_t file) const
{
    const HourSpan& span = m_coverage.files.at(file);
    const QString hours =
        span.hours() == 1 ? QStringLiteral("1 hour") : QStringLiteral("%1 hours").arg(span.hours());
    return QStringLiteral("%1\nFile %2: %3 to %4 UTC, %5")
        .arg(m_paths.value(static_cast<qsizetype>(file)))
        .arg(file + 1)
        .arg(QString::fromStdString(dateHourText(span.first)),
             QString::fromStdString(dateHourText(span.last)), hours);
}

bool HoursStrip::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int file = fileAt(help->pos());
        if (file >= 0)
            QToolTip::showText(help->globalPos(), describeFile(static_cast<std::size_t>(file)),
                               this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void HoursStrip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const QRectF plot = plotArea();
    drawPeriod(painter, plot);
    drawAxis(painter, plot);
    drawCoverageRow(painter);
    drawBars(painter, plot);
    painter.setPen(palette().mid().color());
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void HoursStrip::drawPeriod(QPainter& painter, const QRectF& plot) const
{
    if (!m_coverage.period)
        return;
    const double left = xOfHour(hourValue(m_coverage.period->first));
    const double right = xOfHour(hourValue(m_coverage.period->last) + 1.0);
    painter.save();
    painter.setClipRect(QRectF(plot.left(), axisHeight, plot.width(), height()));
    // The band tints the bars only; the summary row keeps its colours true. Its edges run
    // through the summary row too, so the period's ends read against the gaps there.
    painter.fillRect(pixelRect(left, right, rowsTop - 4.0, plot.bottom()), periodBand);
    painter.setPen(QPen(periodEdge, 2.0));
    painter.drawLine(QPointF(left, axisHeight + 1.0), QPointF(left, plot.bottom()));
    painter.drawLine(QPointF(right, axisHeight + 1.0), QPointF(right, plot.bottom()));
    painter.restore();
}

void HoursStrip::drawAxis(QPainter& painter, const QRectF& plot) const
{
    const QFontMetrics metrics = fontMetrics();
    // The widest fine label is "00:00"; room for it and a gap.
    const double spacing =
        (metrics.horizontalAdvance(QStringLiteral("00:00")) + 16) * hoursPerPixel();
    const AxisTicks ticks = axisTicks(m_viewFirst, m_viewLast, spacing);
    painter.save();
    painter.setClipRect(QRectF(plot.left(), 0, plot.width(), height()));
    const double fineBaseline = axisHeight - 5.0;
    const double coarseBaseline = 14.0;
    for (const AxisTick& tick : ticks.fine) {
        const double x = xOfHour(tick.hour);
        painter.setPen(hourLines);
        painter.drawLine(QPointF(x, axisHeight - 2.0), QPointF(x, plot.bottom()));
        const QString label = QString::fromStdString(tick.label);
        if (x + 3.0 + metrics.horizontalAdvance(label) > plot.right())
            continue;
        painter.setPen(palette().text().color());
        painter.drawText(QPointF(x + 3.0, fineBaseline), label);
    }
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    const QFontMetrics boldMetrics(bold);
    for (std::size_t n = 0; n < ticks.coarse.size(); ++n) {
        const double x = xOfHour(ticks.coarse[n].hour);
        const QString label = QString::fromStdString(ticks.coarse[n].label);
        // The label of a day, month or year that began left of the view stays at the left
        // edge until the next one pushes it out.
        double at = std::max(x, plot.left()) + 3.0;
        if (n + 1 < ticks.coarse.size())
            at = std::min(at, xOfHour(ticks.coarse[n + 1].hour) -
                                  boldMetrics.horizontalAdvance(label) - 6.0);
        if (x >= plot.left()) {
            painter.setPen(dayLines);
            painter.drawLine(QPointF(x, 2.0), QPointF(x, plot.bottom()));
        }
        // Pushed out by its successor, a label is left out rather than shown cut.
        if (at < plot.left() || at + boldMetrics.horizontalAdvance(label) > plot.right())
            continue;
        painter.setPen(palette().text().color());
        painter.drawText(QPointF(at, coarseBaseline), label);
    }
    painter.restore();
    painter.setPen(palette().mid().color());
    painter.drawLine(QPointF(plot.left(), axisHeight), QPointF(plot.right(), axisHeight));
}

void HoursStrip::drawCoverageRow(QPainter& painter) const
{
    const QRectF row = coverageRow();
    painter.setPen(palette().text().color());
    painter.drawText(QRectF(0, row.top(), m_labelWidth - 6.0, row.height()),
                     Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("all"));
    painter.save();
    painter.setClipRect(row);
    painter.fillRect(row, palette().alternateBase());
    const auto xRange = [this, &row](const HourSpan& span) {
        const double left = std::max(xOfHour(hourValue(span.first)), row.left() - 2.0);
        const double right = std::min(xOfHour(hourValue(span.last) + 1.0), row.right() + 2.0);
        return pixelRect(left, right, row.top(), row.bottom());
    };
    for (const HourSpan& file : m_coverage.files)
        painter.fillRect(xRange(file), heldHours);
    for (const CoverageOverlap& overlap : m_coverage.overlaps)
        painter.fillRect(xRange(overlap.span), QBrush(warningColour, Qt::Dense4Pattern));
    for (const HourSpan& gap : m_coverage.gaps)
        painter.fillRect(xRange(gap), warningColour);
    painter.restore();
}

void HoursStrip::drawBars(QPainter& painter, const QRectF& plot) const
{
    const double row = rowHeight();
    const double barHeight = row >= 6.0 ? row - 4.0 : std::max(row * 0.8, 1.0);
    const auto barRect = [&](const HourSpan& span, std::size_t file) {
        const double left = std::max(xOfHour(hourValue(span.first)), plot.left() - 2.0);
        const double right = std::min(xOfHour(hourValue(span.last) + 1.0), plot.right() + 2.0);
        const double top = yOfFile(file) - barHeight / 2.0;
        return pixelRect(left, right, top, top + barHeight);
    };

    painter.save();
    painter.setClipRect(QRectF(plot.left(), axisHeight, plot.width(), height()));
    for (const HourSpan& gap : m_coverage.gaps) {
        const double left = xOfHour(hourValue(gap.first));
        const double right = xOfHour(hourValue(gap.last) + 1.0);
        const QRect column = pixelRect(left, right, rowsTop, plot.bottom());
        painter.fillRect(column, gapTint);
        painter.fillRect(column, QBrush(warningColour, Qt::BDiagPattern));
        drawNote(painter, column.top() + 6, column,
                 QStringLiteral("no file\n%1 h").arg(gap.hours()));
    }
    for (std::size_t n = 0; n < m_coverage.files.size(); ++n)
        painter.fillRect(barRect(m_coverage.files[n], n), m_otherGrid[n] ? warningColour : fileBar);
    for (const CoverageOverlap& overlap : m_coverage.overlaps) {
        for (const std::size_t file : overlap.files) {
            const QRect part = barRect(overlap.span, file);
            painter.fillRect(part, warningColour);
            if (barHeight >= 6.0)
                painter.fillRect(part.adjusted(0, part.height() / 3, 0, -part.height() / 3),
                                 clashStripe);
        }
        if (barHeight >= 6.0)
            drawNote(painter, barRect(overlap.span, overlap.files.back()).bottom() + 4,
                     barRect(overlap.span, overlap.files.back()),
                     QStringLiteral("%1 files").arg(overlap.files.size()));
    }
    painter.restore();

    // List positions beside the bars: all of them while they fit, else every few.
    const int textHeight = fontMetrics().height();
    const std::size_t every =
        std::max<std::size_t>(1, static_cast<std::size_t>(std::ceil(textHeight / row)));
    painter.setPen(palette().text().color());
    for (std::size_t n = 0; n < m_coverage.files.size(); n += every) {
        const QRectF place(0, yOfFile(n) - textHeight / 2.0, m_labelWidth - 6.0, textHeight);
        painter.drawText(place, Qt::AlignRight | Qt::AlignVCenter, QString::number(n + 1));
    }
}

void HoursStrip::drawNote(QPainter& painter, int top, const QRect& column,
                          const QString& note) const
{
    // Where the hours are wide enough, they say what is wrong with them, so the picture reads
    // without the legend.
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const QRect text = metrics.boundingRect(QRect(), Qt::AlignCenter, note).adjusted(-4, -2, 4, 2);
    if (text.width() > column.width() - 4 || top + text.height() > height())
        return;
    const QRect box(QPoint(column.center().x() - text.width() / 2, top), text.size());
    painter.save();
    painter.setFont(bold);
    painter.fillRect(box, palette().base());
    painter.setPen(warningColour);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.drawText(box, Qt::AlignCenter, note);
    painter.restore();
}

void HoursStrip::wheelEvent(QWheelEvent* event)
{
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0.0)
        return;
    const double anchor =
        m_viewFirst + (event->position().x() - plotArea().left()) * hoursPerPixel();
    const double span = m_viewLast - m_viewFirst;
    const double newSpan = std::clamp(span * std::pow(0.8, steps), narrowestView, widestView);
    const double share = (anchor - m_viewFirst) / span;
    m_fitting = false;
    m_viewFirst = anchor - share * newSpan;
    m_viewLast = m_viewFirst + newSpan;
    update();
    event->accept();
}

void HoursStrip::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    m_dragging = true;
    m_dragX = event->position().x();
    m_dragFirst = m_viewFirst;
    setCursor(Qt::ClosedHandCursor);
}

void HoursStrip::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging)
        return QWidget::mouseMoveEvent(event);
    const double span = m_viewLast - m_viewFirst;
    const double moved = (event->position().x() - m_dragX) * hoursPerPixel();
    if (moved != 0.0)
        m_fitting = false;
    m_viewFirst = m_dragFirst - moved;
    m_viewLast = m_viewFirst + span;
    update();
}

void HoursStrip::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    m_dragging = false;
    setCursor(Qt::OpenHandCursor);
}

void HoursStrip::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_fitting)
        fit();
}

} // namespace gridloom
