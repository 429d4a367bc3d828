#pragma once

#include "input/input_coverage.h"

#include <QStringList>
class QPainter;
#include <QWidget>

namespace gridloom {

/// The listed files on a time axis: one bar per file in list order, labelled with its list
/// position; the output period as a band across all bars; gaps, overlaps and files on another
/// grid in the warning colour. The wheel zooms about the pointer, dragging pans, and a bar's
/// tooltip names its file and hours. The view follows each new content until the user zooms or
/// pans, and again after fit().
class HoursStrip final : public QWidget {
    Q_OBJECT

public:
    explicit HoursStrip(QWidget* parent = nullptr);

    /// Shows `coverage`; `paths` are the files' paths in list order, for the tooltips.
    void setCoverage(InputCoverage coverage, QStringList paths);
    const InputCoverage& coverage() const { return m_coverage; }
    /// Shows every file and the output period.
    void fit();
    /// Shows the hours from `first` to `last`, given in hours since 1970, and keeps them shown
    /// when the content changes.
    void showHours(double first, double last);
    double viewFirst() const { return m_viewFirst; }
    double viewLast() const { return m_viewLast; }
    /// The horizontal place of the start of `hour` (hours since 1970).
    double xOfHour(double hour) const;
    /// The vertical middle of the bar of the file at list position `file`.
    double yOfFile(std::size_t file) const;
    /// The list position of the file whose bar lies under `point`, or -1.
    int fileAt(QPointF point) const;
    /// The row above the bars that sums up the period: held hours, gaps and overlaps.
    QRectF coverageRow() const;
    /// The tooltip text of the file at list position `file`.
    QString describeFile(std::size_t file) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRectF plotArea() const;
    double rowHeight() const;
    double hoursPerPixel() const;
    void drawPeriod(QPainter& painter, const QRectF& plot) const;
    /// A boxed note in the warning colour at `top`, centred on `column` when it fits there.
    void drawNote(QPainter& painter, int top, const QRect& column, const QString& note) const;
    void drawAxis(QPainter& painter, const QRectF& plot) const;
    void drawBars(QPainter& painter, const QRectF& plot) const;
    void drawCoverageRow(QPainter& painter) const;

    InputCoverage m_coverage;
    QStringList m_paths;
    std::vector<bool> m_otherGrid;
    int m_labelWidth = 0;
    double m_viewFirst = 0.0;
    double m_viewLast = 24.0;
    /// True until the user zooms or pans: new content is then fitted.
    bool m_fitting = true;
    bool m_dragging = false;
    double m_dragX = 0.0;
    double m_dragFirst = 0.0;
};

} // namespace gridloom
