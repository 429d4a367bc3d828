#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace gridloom {

/// Asks the user for 3D.DAT files to add, or for a control file to open. The real one is a
/// file-open dialog; tests script it.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    /// The chosen files, in the order chosen; empty when the user cancels.
    virtual QStringList chooseInputFiles(QWidget* parent, const QString& initialFolder) = 0;
    /// One control file to open; empty when the user cancels.
    virtual QString chooseControlFile(QWidget* parent, const QString& initialFolder) = 0;
};

} // namespace gridloom
