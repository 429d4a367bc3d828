#pragma once

#include <QString>

class QWidget;

namespace gridloom {

/// Every message box Gridloom shows goes through here, so tests can record them instead of
/// blocking on a modal box. Each call returns when the user has closed the box.
class Messages {
public:
    virtual ~Messages() = default;
    /// Job and input errors: stop icon, the application's title, OK.
    virtual void jobError(const QString& text) = 0;
    /// Errors of the coordinate dialog: stop icon, caption "Error", OK.
    virtual void dialogError(const QString& text) = 0;
    /// The path-length error: caption "Error", no icon, OK.
    virtual void pathError(const QString& text) = 0;
    /// A box with neither icon nor title, OK only.
    virtual void plain(const QString& text) = 0;
};

/// The real boxes, modal over `parent` (or over the active window when none is given).
class BoxMessages final : public Messages {
public:
    explicit BoxMessages(QWidget* parent = nullptr) : m_parent(parent) {}
    void jobError(const QString& text) override;
    void dialogError(const QString& text) override;
    void pathError(const QString& text) override;
    void plain(const QString& text) override;

private:
    QWidget* m_parent;
};

/// The application's title, which job errors carry.
inline QString applicationTitle()
{
    return QStringLiteral("Gridloom");
}

} // namespace gridloom
