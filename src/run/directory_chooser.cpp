#include "run/directory_chooser.h"

#include "common/messages.h"
#include "common/native_text.h"
#include "common/platform.h"
#include "common/window_placement.h"
#include "run/volumes.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>

namespace gridloom {

namespace {

constexpr int pathRole = Qt::UserRole;

/// A folder path in one spelling: absolute, cleaned (no trailing separator except at a
/// root), native separators.
QString normalized(const QString& directory)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QDir(directory).absolutePath()));
}

bool isInside(const QString& directory, const QString& root)
{
    const Qt::CaseSensitivity sensitivity =
        fileNamesIgnoreCase() ? Qt::CaseInsensitive : Qt::CaseSensitive;
    const QString cleanRoot = normalized(root);
    if (directory.compare(cleanRoot, sensitivity) == 0)
        return true;
    const QString prefix =
        cleanRoot.endsWith(QDir::separator()) ? cleanRoot : cleanRoot + QDir::separator();
    return directory.startsWith(prefix, sensitivity);
}

} // namespace

DirectoryChooser::DirectoryChooser(const QString& workingDirectory, const QString& programFolder,
                                   Volumes& volumes, Messages& messages, QWidget* parent)
    : QDialog(parent), m_volumes(volumes), m_messages(messages),
      m_programFolder(normalized(programFolder))
{
    setObjectName(QStringLiteral("frmChangeDir"));
    setWindowTitle(QStringLiteral("Change Directory"));

    auto* caption = new QLabel(QStringLiteral("Current Working Directory:"), this);
    caption->setObjectName(QStringLiteral("Label2"));
    m_currentLabel = new QLabel(this);
    m_currentLabel->setObjectName(QStringLiteral("lblCurDir"));
    m_currentLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_drives = new QComboBox(this);
    m_drives->setObjectName(QStringLiteral("Drive1"));
    // Asking for the volumes can be slow on a machine with network mounts: once per opening.
    m_roots = m_volumes.roots();
    m_drives->addItems(m_roots);

    m_directories = new QTreeWidget(this);
    m_directories->setObjectName(QStringLiteral("Dir1"));
    m_directories->setHeaderHidden(true);
    m_directories->setRootIsDecorated(false);
    m_directories->setItemsExpandable(false);
    m_directories->setIndentation(12);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(false);
    ok->setAutoDefault(false);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    cancel->setAutoDefault(false);

    auto* layout = new QGridLayout(this);
    layout->addWidget(caption, 0, 0, 1, 2);
    layout->addWidget(m_currentLabel, 1, 0, 1, 2);
    layout->addWidget(m_drives, 2, 0, Qt::AlignTop);
    layout->addWidget(m_directories, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons, 3, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    resize(520, 360);

    // Only a choice by the user moves the directory list; the dialog's own selections merely
    // keep the drive list in step.
    connect(m_drives, &QComboBox::activated, this, &DirectoryChooser::moveToChosenVolume);
    connect(m_directories, &QTreeWidget::itemActivated, this,
            &DirectoryChooser::enterActivatedFolder);
    connect(ok, &QPushButton::clicked, this, &DirectoryChooser::chooseCurrentFolder);
    connect(cancel, &QPushButton::clicked, this, &DirectoryChooser::reject);

    const bool useWorkingDirectory =
        !workingDirectory.isEmpty() && dirExists(toNativeText(workingDirectory));
    const QString start = useWorkingDirectory ? normalized(workingDirectory) : m_programFolder;
    showDirectory(start);
    selectVolumeOf(start);
    centerOnScreen(*this);
}

QString DirectoryChooser::volumeOf(const QString& directory) const
{
    // The deepest root that holds the folder: a volume mounted below "/" owns its own tree.
    QString best;
    for (const QString& root : m_roots)
        if (isInside(directory, root) &&
            (best.isEmpty() || normalized(root).size() > normalized(best).size()))
            best = root;
    return best;
}

void DirectoryChooser::selectVolumeOf(const QString& directory)
{
    const int index = m_drives->findText(volumeOf(directory), Qt::MatchExactly);
    if (index >= 0)
        m_drives->setCurrentIndex(index);
}

void DirectoryChooser::showDirectory(const QString& directory)
{
    m_current = normalized(directory);
    m_currentLabel->setText(m_current);
    m_directories->clear();

    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);

    // The chain from the root down to the current folder, each a child of the one above.
    QStringList chain;
    for (QDir dir(m_current);;) {
        chain.prepend(normalized(dir.absolutePath()));
        if (dir.isRoot() || !dir.cdUp())
            break;
    }
    QTreeWidgetItem* parent = nullptr;
    for (const QString& path : chain) {
        const QString name = QDir(path).isRoot() ? path : QFileInfo(path).fileName();
        auto* item = parent ? new QTreeWidgetItem(parent, {name})
                            : new QTreeWidgetItem(m_directories, {name});
        item->setIcon(0, openIcon);
        item->setData(0, pathRole, path);
        parent = item;
    }
    const QDir current(m_current);
    for (const QString& name :
         current.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        auto* item = new QTreeWidgetItem(parent, {name});
        item->setIcon(0, closedIcon);
        item->setData(0, pathRole, normalized(current.absoluteFilePath(name)));
    }
    m_directories->expandAll();
    m_directories->setCurrentItem(parent);
}

void DirectoryChooser::enterActivatedFolder(QTreeWidgetItem* item)
{
    if (!item)
        return;
    const QString path = item->data(0, pathRole).toString();
    if (path != m_current)
        showDirectory(path);
}

void DirectoryChooser::moveToChosenVolume(int index)
{
    const QString root = m_drives->itemText(index);
    // The drive the directory list is already on: choosing it again is no move.
    if (root == volumeOf(m_current))
        return;
    if (!m_volumes.isReady(root)) {
        m_messages.plain(QStringLiteral("Drive ") + root +
                         QStringLiteral(" is not on line or does not exist."));
        const QString fallback = volumeOf(m_programFolder);
        selectVolumeOf(m_programFolder);
        showDirectory(fallback.isEmpty() ? m_programFolder : fallback);
        return;
    }
    if (const auto failure = directoryReadError(toNativeText(root))) {
        m_messages.plain(QStringLiteral("Error: ") + fromNativeText(*failure));
        selectVolumeOf(m_current);
        return;
    }
    showDirectory(root);
}

void DirectoryChooser::chooseCurrentFolder()
{
    const QChar separator = QLatin1Char(pathSeparator());
    Q_EMIT directoryChosen(m_current.endsWith(separator) ? m_current : m_current + separator);
    accept();
}

DirectoryChooser* openDirectoryChooser(QWidget* parent, QLineEdit* workingDirBox,
                                       const QString& programFolder, Volumes& volumes,
                                       Messages& messages)
{
    const QString current = workingDirBox ? workingDirBox->text() : QString();
    auto* chooser = new DirectoryChooser(current, programFolder, volumes, messages, parent);
    chooser->setAttribute(Qt::WA_DeleteOnClose);
    chooser->setWindowModality(Qt::ApplicationModal);
    const QPointer<QLineEdit> box(workingDirBox);
    QObject::connect(chooser, &DirectoryChooser::directoryChosen, chooser,
                     [box](const QString& directory) {
                         if (box)
                             box->setText(directory);
                     });
    chooser->show();
    return chooser;
}

} // namespace gridloom
