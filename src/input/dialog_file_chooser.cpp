#include "input/dialog_file_chooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace gridloom {

QStringList DialogFileChooser::chooseInputFiles(QWidget* parent, const QString& initialFolder)
{
    // The working-directory text may name a file or a wildcard pattern rather than a folder;
    // the dialog wants the folder those lie in.
    const QFileInfo where(initialFolder);
    const QString folder = where.isDir() ? initialFolder : where.path();
    const QStringList filters = {QStringLiteral("3D.DAT(*.m3d)"), QStringLiteral("3D.DAT (*.dat)"),
                                 QStringLiteral("All (*)")};
    QStringList chosen = QFileDialog::getOpenFileNames(parent, QString(), folder,
                                                       filters.join(QStringLiteral(";;")));
    for (auto& path : chosen)
        path = QDir::toNativeSeparators(path);
    return chosen;
}

QString DialogFileChooser::chooseControlFile(QWidget* parent, const QString& initialFolder)
{
    const QStringList filters = {QStringLiteral("Control files (*.inp)"),
                                 QStringLiteral("All (*)")};
    const QString chosen =
        QFileDialog::getOpenFileName(parent, QStringLiteral("Open control file"), initialFolder,
                                     filters.join(QStringLiteral(";;")));
    return QDir::toNativeSeparators(chosen);
}

} // namespace gridloom
