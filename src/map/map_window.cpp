#include "map/map_window.h"

#include "map/map_canvas.h"
#include "map/map_scene.h"

#include <QAction>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace gridloom {

MapWindow::MapWindow(QWidget* parent)
    : QMainWindow(parent), m_canvas(new MapCanvas), m_pointer(new QLabel), m_legend(new QLabel),
      m_legendPanel(new QDockWidget(QStringLiteral("Legend"), this)), m_status(new QLabel(this))
{
    setObjectName(QStringLiteral("DomainMap"));
    setWindowTitle(QStringLiteral("Domain map"));
    // A window of its own beside the main window, never blocking it.
    setWindowFlag(Qt::Window);
    setWindowModality(Qt::NonModal);
    // The status line for the point under the pointer sits right under the map.
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addWidget(m_canvas, 1);
    m_pointer->setObjectName(QStringLiteral("MapPointer"));
    m_pointer->setContentsMargins(6, 0, 6, 0);
    m_pointer->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(m_pointer);
    setCentralWidget(central);
    // The whole legend, for when the map has room for only part of it.
    m_legendPanel->setObjectName(QStringLiteral("MapLegendPanel"));
    m_legend->setObjectName(QStringLiteral("MapLegendText"));
    m_legend->setWordWrap(true);
    m_legend->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_legend->setMargin(6);
    m_legendPanel->setWidget(m_legend);
    m_legendPanel->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    addDockWidget(Qt::RightDockWidgetArea, m_legendPanel);
    m_legendPanel->hide();
    resize(900, 640);

    QToolBar* tools = addToolBar(QStringLiteral("Map"));
    tools->setObjectName(QStringLiteral("MapTools"));
    tools->setMovable(false);
    QAction* fitAction = tools->addAction(QStringLiteral("Fit"));
    fitAction->setObjectName(QStringLiteral("FitAction"));
    fitAction->setToolTip(QStringLiteral("Show every input file and the output box"));
    QAction* saveAction = tools->addAction(QStringLiteral("Save picture…"));
    saveAction->setObjectName(QStringLiteral("SavePictureAction"));
    QAction* legendAction = m_legendPanel->toggleViewAction();
    legendAction->setObjectName(QStringLiteral("LegendAction"));
    legendAction->setToolTip(QStringLiteral("Show the whole legend beside the map"));
    tools->addAction(legendAction);
    m_status->setObjectName(QStringLiteral("MapStatus"));
    statusBar()->addWidget(m_status, 1);
    statusBar()->setSizeGripEnabled(true);

    connect(fitAction, &QAction::triggered, m_canvas, &MapCanvas::fit);
    connect(saveAction, &QAction::triggered, this, &MapWindow::onSavePictureTriggered);
    connect(m_canvas, &MapCanvas::pointerRead, m_pointer, &QLabel::setText);
}

void MapWindow::showSnapshot(const MapSnapshot& snapshot)
{
    m_canvas->setScene(buildScene(snapshot));
    m_legend->setText(m_canvas->renderer().legendText());
}

void MapWindow::setBoxDrawnHandler(std::function<void(const DrawnBox&)> handler)
{
    m_canvas->setBoxDrawnHandler(std::move(handler));
}

QString MapWindow::savePicture(const QString& path)
{
    const QSize size = m_canvas->size();
    bool saved = false;
    if (path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        QPdfWriter pdf(path);
        pdf.setTitle(QStringLiteral("Domain map"));
        pdf.setCreator(QStringLiteral("Gridloom"));
        // One page exactly the map's size, drawn at 96 dots per inch like the screen.
        pdf.setResolution(96);
        pdf.setPageSize(QPageSize(QSizeF(size.width() * 72.0 / 96, size.height() * 72.0 / 96),
                                  QPageSize::Point));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (painter.begin(&pdf)) {
            m_canvas->paintMap(painter, size);
            saved = painter.end();
        }
    } else {
        QImage picture(size * 2, QImage::Format_ARGB32_Premultiplied);
        picture.setDevicePixelRatio(2.0);
        QPainter painter(&picture);
        m_canvas->paintMap(painter, size);
        painter.end();
        saved = picture.save(path, "PNG");
    }
    const QString shown = QDir::toNativeSeparators(path);
    return saved ? QStringLiteral("Saved %1").arg(shown)
                 : QStringLiteral("Could not write %1").arg(shown);
}

void MapWindow::onSavePictureTriggered()
{
    QString filter;
    QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Save picture"), QStringLiteral("domain_map.png"),
        QStringLiteral("PNG picture (*.png);;PDF document (*.pdf)"), &filter);
    if (path.isEmpty())
        return;
    const bool pdf = filter.contains(QStringLiteral("pdf"));
    const QString suffix = pdf ? QStringLiteral(".pdf") : QStringLiteral(".png");
    if (!path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive) &&
        !path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += suffix;
    m_status->setText(savePicture(path));
}

} // namespace gridloom
