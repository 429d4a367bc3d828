#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace gridloom {

class Messages;
class Volumes;

/// The "Change Directory" dialog: a list of volume roots and a list of folders (the current
/// folder with its parents and subfolders). OK hands back the current folder with one
/// trailing separator, the form the control-file writers append names to.
class DirectoryChooser final : public QDialog {
    Q_OBJECT

public:
    /// Starts in `workingDirectory` when that names an existing folder, else in `programFolder`.
    DirectoryChooser(const QString& workingDirectory, const QString& programFolder,
                     Volumes& volumes, Messages& messages, QWidget* parent = nullptr);

Q_SIGNALS:
    /// OK was pressed: the chosen folder, ending in exactly one separator.
    void directoryChosen(const QString& directory);

private:
    void showDirectory(const QString& directory);
    void selectVolumeOf(const QString& directory);
    QString volumeOf(const QString& directory) const;
    void moveToChosenVolume(int index);
    void enterActivatedFolder(QTreeWidgetItem* item);
    void chooseCurrentFolder();

    Volumes& m_volumes;
    Messages& m_messages;
    QString m_programFolder;
    QStringList m_roots;
    /// The folder the directory list shows, in native separators.
    QString m_current;
    QLabel* m_currentLabel = nullptr;
    QComboBox* m_drives = nullptr;
    QTreeWidget* m_directories = nullptr;
};

/// Browse: opens the chooser application-modal WITHOUT blocking (show(), WA_DeleteOnClose);
/// its OK writes workingDirBox.
DirectoryChooser* openDirectoryChooser(QWidget* parent, QLineEdit* workingDirBox,
                                       const QString& programFolder, Volumes& volumes,
                                       Messages& messages);

} // namespace gridloom
