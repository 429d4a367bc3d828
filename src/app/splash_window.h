#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>

class QLabel;

namespace gridloom {

/// The first window of the program: a picture with the version and release date, shown for a
/// fixed time or until clicked, then it hands over to the main window, exactly once.
class SplashWindow final : public QWidget {
    Q_OBJECT

public:
    static constexpr int SplashDelayMs = 1750;

    /// `handOver` creates and shows the main window; it is called once, at the end of the
    /// wait or on the first click, whichever comes first.
    explicit SplashWindow(std::function<void()> handOver, int delayMs = SplashDelayMs);

    /// Shows the window and starts the wait. Window events go on being processed throughout.
    void start();

    /// True once the user has clicked the picture.
    bool clicked() const { return m_clicked; }

    /// The picture the window shows, drawn by us at the window's size.
    static QPixmap picture();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onWaitTimeout();
    void handOverOnce();

    std::function<void()> m_handOver;
    int m_delayMs;
    bool m_clicked = false;
    bool m_handedOver = false;
    QElapsedTimer m_clock;
    QTimer m_wait;
    QLabel* m_version;
    QLabel* m_level;
};

} // namespace gridloom
