#include "input/input_hours_window.h"

#include "common/native_text.h"
#include "common/palette.h"
#include "input/hours_strip.h"

#include <QFont>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace gridloom {

namespace {

} // namespace

InputHoursWindow::InputHoursWindow(Source source, QWidget* parent)
    : QWidget(parent, Qt::Window), m_source(std::move(source))
{
    setObjectName(QStringLiteral("InputHoursWindow"));
    setWindowTitle(QStringLiteral("Input hours"));

    m_strip = new HoursStrip(this);
    m_fitButton = new QPushButton(QStringLiteral("Fit"), this);
    m_fitButton->setObjectName(QStringLiteral("FitButton"));
    m_fitButton->setToolTip(QStringLiteral("Show every file and the output period"));
    m_legend = new QListWidget(this);
    m_legend->setObjectName(QStringLiteral("HoursLegend"));
    m_legend->setSelectionMode(QAbstractItemView::SingleSelection);
    m_legend->setFixedHeight(6 * m_legend->fontMetrics().height() + 8);

    auto* below = new QHBoxLayout;
    below->addWidget(m_legend, 1);
    below->addWidget(m_fitButton, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_strip, 1);
    layout->addLayout(below);

    connect(m_fitButton, &QPushButton::clicked, m_strip, &HoursStrip::fit);
    connect(m_legend, &QListWidget::itemClicked, this, &InputHoursWindow::onLegendItemActivated);
    connect(m_legend, &QListWidget::itemActivated, this, &InputHoursWindow::onLegendItemActivated);
    resize(960, 520);
}

void InputHoursWindow::jobChanged()
{
    m_stale = true;
    if (isVisible())
        refresh();
}

void InputHoursWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_stale)
        refresh();
}

void InputHoursWindow::refresh()
{
    m_stale = false;
    const HoursJob job = m_source();
    InputCoverage coverage = inputCoverage(job.files, job.mode, job.period);

    m_legend->setUpdatesEnabled(false);
    m_legend->clear();
    for (const CoverageLine& line : coverage.legend) {
        auto* item = new QListWidgetItem(QString::fromStdString(line.text), m_legend);
        if (line.warning) {
            item->setForeground(warningColour);
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
        }
        if (line.span)
            item->setData(Qt::UserRole,
                          QPointF(double(line.span->first.time_since_epoch().count()),
                                  double(line.span->last.time_since_epoch().count()) + 1.0));
    }
    m_legend->setUpdatesEnabled(true);

    QStringList paths;
    paths.reserve(static_cast<qsizetype>(job.files.size()));
    for (const InputFileInfo& file : job.files)
        paths << fromNativeText(file.path);
    m_strip->setCoverage(std::move(coverage), std::move(paths));
}

void InputHoursWindow::onLegendItemActivated(QListWidgetItem* item)
{
    const QVariant span = item->data(Qt::UserRole);
    if (!span.isValid())
        return;
    const QPointF hours = span.toPointF();
    // Some room either side, so the line's hours are seen against their neighbours.
    const double margin = std::max((hours.y() - hours.x()) * 0.5, 12.0);
    m_strip->showHours(hours.x() - margin, hours.y() + margin);
}

} // namespace gridloom
