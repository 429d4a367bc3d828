#pragma once

#include "input/file_chooser.h"

namespace gridloom {

/// The file-open dialog of Add File: several files at once, 3D.DAT and all-files filters.
class DialogFileChooser final : public FileChooser {
public:
    /// Opens in `initialFolder`, or in the folder of the file or pattern it names.
    QStringList chooseInputFiles(QWidget* parent, const QString& initialFolder) override;
    /// Control files (*.inp) or any file, from `initialFolder`.
    QString chooseControlFile(QWidget* parent, const QString& initialFolder) override;
};

} // namespace gridloom
