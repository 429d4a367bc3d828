#pragma once

#include "map/domain_map_view.h"

#include <QMainWindow>

class QDockWidget;
class QLabel;

namespace gridloom {

class MapCanvas;

/// The "Domain map" window: the map, and the two actions Fit and "Save picture…" above it.
/// Non-modal and resizable; it belongs to the main window and goes with it.
class MapWindow final : public QMainWindow, public DomainMapView {
    Q_OBJECT

public:
    explicit MapWindow(QWidget* parent = nullptr);

    QWidget* window() override { return this; }
    void showSnapshot(const MapSnapshot& snapshot) override;
    void setBoxDrawnHandler(std::function<void(const DrawnBox&)> handler) override;
    MapCanvas& canvas() const { return *m_canvas; }

    /// Writes the map as drawn to `path`: PDF (vector) when the name ends in ".pdf", else PNG.
    /// Returns the line the status bar shows.
    QString savePicture(const QString& path);

private:
    void onSavePictureTriggered();

    MapCanvas* m_canvas;
    QLabel* m_pointer;
    QLabel* m_legend;
    QDockWidget* m_legendPanel;
    QLabel* m_status;
};

} // namespace gridloom
