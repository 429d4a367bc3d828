#include "map/map_window.h"

#include "map/map_canvas.h"
#include "map/map_scene.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QStatusBar>
#include <QToolBar>

namespace gridloom {

MapWindow::MapWindow(QWidget* parent)
    : QMainWindow(parent), m_canvas(new MapCanvas(this)), m_status(new QLabel(this))
{
    setObjectName(QStringLiteral("DomainMap"));
    setWindowTitle(QStringLiteral("Domain map"));
    // A window of its own beside the main window, never blocking it.
    setWindowFlag(Qt::Window);
    setWindowModality(Qt::NonModal);
    setCentralWidget(m_canvas);
    resize(900, 640);

    QToolBar* tools = addToolBar(QStringLiteral("Map"));
    tools->setObjectName(QStringLiteral("MapTools"));
    tools->setMovable(false);
    QAction* fitAction = tools->addAction(QStringLiteral("Fit"));
    fitAction->setObjectName(QStringLiteral("FitAction"));
    fitAction->setToolTip(QStringLiteral("Show every input file and the output box"));
    QAction* saveAction = tools->addAction(QStringLiteral("Save picture…"));
    saveAction->setObjectName(QStringLiteral("SavePictureAction"));
    m_status->setObjectName(QStringLiteral("MapStatus"));
    statusBar()->addWidget(m_status, 1);
    statusBar()->setSizeGripEnabled(true);

    connect(fitAction, &QAction::triggered, m_canvas, &MapCanvas::fit);
    connect(saveAction, &QAction::triggered, this, &MapWindow::onSavePictureTriggered);
}

void MapWindow::showSnapshot(const MapSnapshot& snapshot)
{
    m_canvas->setScene(buildScene(snapshot));
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
