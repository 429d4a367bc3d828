#include "run/directory_chooser.h"
#include "support/fake_services.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace gridloom;
using namespace gridloom::testing;

namespace {

/// Moves the drive list the way a user does, with the arrow keys, so that the list reports a
/// choice of the user's.
void chooseDrive(QComboBox* drives, const QString& root)
{
    const int target = drives->findText(root);
    QVERIFY(target >= 0);
    // Count the steps first: the dialog may move the list itself in answer to the last one.
    const int steps = target - drives->currentIndex();
    for (int i = 0; i < steps; ++i)
        QTest::keyClick(drives, Qt::Key_Down);
    for (int i = 0; i < -steps; ++i)
        QTest::keyClick(drives, Qt::Key_Up);
}

QTreeWidgetItem* folderItem(QTreeWidget* folders, const QString& name)
{
    const auto found = folders->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    return found.size() == 1 ? found.front() : nullptr;
}

} // namespace

class DirectoryChooserTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void startingDirectory_data();
    void startingDirectory();
    void okWritesOneTrailingSeparator_data();
    void okWritesOneTrailingSeparator();
    void selectingWithoutOpeningChangesNothing();
    void listShowsParentsAndSubfolders();
    void choosingDriveShowsItsRoot();
    void driveNotReady();
    void cancelKeepsWorkingDirectory();
    void opensCentredModalWithoutBlocking();

private:
    DirectoryChooser* open(const QString& workingDirectory);
    QString path(const QString& relative) const { return m_base->filePath(relative); }

    std::unique_ptr<QTemporaryDir> m_base;
    FakeVolumes m_volumes;
    RecordingMessages m_messages;
    std::unique_ptr<QLineEdit> m_box;
    QPointer<DirectoryChooser> m_chooser;
};

void DirectoryChooserTest::init()
{
    m_base = std::make_unique<QTemporaryDir>();
    QVERIFY(m_base->isValid());
    QDir base(m_base->path());
    for (const char* folder : {"volume/program", "volume/data", "elsewhere/run 1/sub b",
                               "elsewhere/run 1/Sub a", "elsewhere/run 1/.hidden"})
        QVERIFY(base.mkpath(QString::fromLatin1(folder)));
    QFile file(path(QStringLiteral("elsewhere/plain.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    // The temporary "volume" folder stands for a mounted disk; "/offline" for one without medium.
    m_volumes.rootList = {QStringLiteral("/"), path(QStringLiteral("volume")),
                          QStringLiteral("/offline")};
    m_volumes.notReady = {QStringLiteral("/offline")};
    m_messages.clear();
    m_box = std::make_unique<QLineEdit>();
}

void DirectoryChooserTest::cleanup()
{
    delete m_chooser;
    m_box.reset();
}

DirectoryChooser* DirectoryChooserTest::open(const QString& workingDirectory)
{
    m_box->setText(workingDirectory);
    m_chooser = openDirectoryChooser(nullptr, m_box.get(), path(QStringLiteral("volume/program")),
                                     m_volumes, m_messages);
    return m_chooser;
}

void DirectoryChooserTest::startingDirectory_data()
{
    QTest::addColumn<QString>("workingDirectory"); // relative to the test folder; "-" for none
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("drive"); // "" for "/", else relative to the test folder

    QTest::newRow("existing folder") << "elsewhere/run 1/"
                                     << "elsewhere/run 1"
                                     << "";
    QTest::newRow("existing folder on the other volume") << "volume/data"
                                                         << "volume/data"
                                                         << "volume";
    QTest::newRow("empty text") << "-"
                                << "volume/program"
                                << "volume";
    QTest::newRow("folder that is gone") << "elsewhere/gone/"
                                         << "volume/program"
                                         << "volume";
    QTest::newRow("path of a file") << "elsewhere/plain.txt"
                                    << "volume/program"
                                    << "volume";
}

void DirectoryChooserTest::startingDirectory()
{
    QFETCH(QString, workingDirectory);
    QFETCH(QString, shown);
    QFETCH(QString, drive);

    auto* chooser =
        open(workingDirectory == QStringLiteral("-") ? QString() : path(workingDirectory));
    QCOMPARE(chooser->findChild<QLabel*>(QStringLiteral("lblCurDir"))->text(), path(shown));
    QCOMPARE(chooser->findChild<QComboBox*>(QStringLiteral("Drive1"))->currentText(),
             drive.isEmpty() ? QStringLiteral("/") : path(drive));
    QCOMPARE(chooser->findChild<QTreeWidget*>(QStringLiteral("Dir1"))->currentItem()->text(0),
             QFileInfo(path(shown)).fileName());
    QVERIFY(m_messages.shown.empty());
}

void DirectoryChooserTest::okWritesOneTrailingSeparator_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("open"); // folder names to open one after the other, by "|"
    QTest::addColumn<QString>("howToOpen");
    QTest::addColumn<QString>("written");

    const QString run = QStringLiteral("elsewhere/run 1/");
    QTest::newRow("at once, unchanged") << run << ""
                                        << "enter" << run;
    QTest::newRow("subfolder by Enter") << run << "Sub a"
                                        << "enter" << run + QStringLiteral("Sub a/");
    QTest::newRow("subfolder by double click") << run << "sub b"
                                               << "double click" << run + QStringLiteral("sub b/");
    QTest::newRow("parent, then its subfolder") << run << "elsewhere|run 1"
                                                << "enter" << run;
    QTest::newRow("up to the root") << run << "/"
                                    << "double click"
                                    << "/";
}

void DirectoryChooserTest::okWritesOneTrailingSeparator()
{
    QFETCH(QString, start);
    QFETCH(QString, open);
    QFETCH(QString, howToOpen);
    QFETCH(QString, written);

    auto* chooser = this->open(path(start));
    auto* folders = chooser->findChild<QTreeWidget*>(QStringLiteral("Dir1"));
    auto* label = chooser->findChild<QLabel*>(QStringLiteral("lblCurDir"));
    for (const QString& name : open.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        QTreeWidgetItem* item = folderItem(folders, name);
        QVERIFY2(item, qPrintable(name));
        folders->setCurrentItem(item);
        if (howToOpen == QStringLiteral("enter")) {
            QTest::keyClick(folders, Qt::Key_Return);
        } else {
            const QPoint centre = folders->visualItemRect(item).center();
            QTest::mouseClick(folders->viewport(), Qt::LeftButton, {}, centre);
            QTest::mouseDClick(folders->viewport(), Qt::LeftButton, {}, centre);
        }
        QCOMPARE(label->text(), chooser->currentDirectory());
        if (name != QStringLiteral("/"))
            QCOMPARE(QFileInfo(label->text()).fileName(), name);
    }

    QTest::mouseClick(chooser->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    const QString expected = written == QStringLiteral("/") ? written : path(written);
    QCOMPARE(m_box->text(), expected);
}

void DirectoryChooserTest::selectingWithoutOpeningChangesNothing()
{
    auto* chooser = open(path(QStringLiteral("elsewhere/run 1")));
    auto* folders = chooser->findChild<QTreeWidget*>(QStringLiteral("Dir1"));
    QTreeWidgetItem* item = folderItem(folders, QStringLiteral("sub b"));
    QVERIFY(item);
    QTest::mouseClick(folders->viewport(), Qt::LeftButton, {},
                      folders->visualItemRect(item).center());
    QCOMPARE(folders->currentItem(), item);
    QCOMPARE(chooser->findChild<QLabel*>(QStringLiteral("lblCurDir"))->text(),
             path(QStringLiteral("elsewhere/run 1")));
    QTest::mouseClick(chooser->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    QCOMPARE(m_box->text(), path(QStringLiteral("elsewhere/run 1/")));
}

void DirectoryChooserTest::listShowsParentsAndSubfolders()
{
    auto* chooser = open(path(QStringLiteral("elsewhere/run 1")));
    auto* folders = chooser->findChild<QTreeWidget*>(QStringLiteral("Dir1"));
    // Down from the root, one item per level, then the visible subfolders by name.
    QStringList chain;
    QTreeWidgetItem* item = folders->topLevelItem(0);
    QCOMPARE(folders->topLevelItemCount(), 1);
    while (item && item->text(0) != QStringLiteral("run 1")) {
        chain << item->text(0);
        QCOMPARE(item->childCount(), 1);
        item = item->child(0);
    }
    QVERIFY(item);
    QCOMPARE(chain.front(), QStringLiteral("/"));
    QCOMPARE(chain.back(), QStringLiteral("elsewhere"));
    QStringList children;
    for (int i = 0; i < item->childCount(); ++i)
        children << item->child(i)->text(0);
    QCOMPARE(children, (QStringList{QStringLiteral("Sub a"), QStringLiteral("sub b")}));
}

void DirectoryChooserTest::choosingDriveShowsItsRoot()
{
    auto* chooser = open(path(QStringLiteral("elsewhere/run 1")));
    auto* drives = chooser->findChild<QComboBox*>(QStringLiteral("Drive1"));
    chooseDrive(drives, path(QStringLiteral("volume")));
    QCOMPARE(chooser->findChild<QLabel*>(QStringLiteral("lblCurDir"))->text(),
             path(QStringLiteral("volume")));
    chooseDrive(drives, QStringLiteral("/"));
    QCOMPARE(chooser->findChild<QLabel*>(QStringLiteral("lblCurDir"))->text(), QStringLiteral("/"));
    QVERIFY(m_messages.shown.empty());
}

void DirectoryChooserTest::driveNotReady()
{
    auto* chooser = open(path(QStringLiteral("elsewhere/run 1")));
    auto* drives = chooser->findChild<QComboBox*>(QStringLiteral("Drive1"));
    chooseDrive(drives, QStringLiteral("/offline"));

    QCOMPARE(m_messages.shown,
             (std::vector<ShownMessage>{
                 {ShownMessage::Kind::Plain,
                  QStringLiteral("Drive /offline is not on line or does not exist.")}}));
    QCOMPARE(drives->currentText(), path(QStringLiteral("volume")));
    QCOMPARE(chooser->findChild<QLabel*>(QStringLiteral("lblCurDir"))->text(),
             path(QStringLiteral("volume")));
    QCOMPARE(chooser->currentDirectory(), path(QStringLiteral("volume")));
    QVERIFY(chooser->isVisible());
}

void DirectoryChooserTest::cancelKeepsWorkingDirectory()
{
    auto* chooser = open(QStringLiteral("typed by hand"));
    auto* folders = chooser->findChild<QTreeWidget*>(QStringLiteral("Dir1"));
    folders->setCurrentItem(folderItem(folders, QStringLiteral("volume")));
    QTest::keyClick(folders, Qt::Key_Return);
    QCOMPARE(chooser->currentDirectory(), path(QStringLiteral("volume")));
    QTest::mouseClick(chooser->findChild<QPushButton*>(QStringLiteral("cmdCancel")),
                      Qt::LeftButton);
    QCOMPARE(m_box->text(), QStringLiteral("typed by hand"));
}

void DirectoryChooserTest::opensCentredModalWithoutBlocking()
{
    // A dialog is centred over its parent unless told otherwise: put the parent in a corner.
    QWidget parent;
    parent.setGeometry(10, 10, 200, 150);
    parent.show();
    m_chooser = openDirectoryChooser(&parent, m_box.get(), path(QStringLiteral("volume/program")),
                                     m_volumes, m_messages);
    auto* chooser = m_chooser.data();
    // Reaching this line at all means the call did not wait for the dialog.
    QVERIFY(chooser->isVisible());
    QCOMPARE(chooser->objectName(), QStringLiteral("frmChangeDir"));
    QCOMPARE(chooser->windowTitle(), QStringLiteral("Change Directory"));
    QCOMPARE(chooser->findChild<QLabel*>(QStringLiteral("Label2"))->text(),
             QStringLiteral("Current Working Directory:"));
    QCOMPARE(chooser->findChild<QPushButton*>(QStringLiteral("cmdOK"))->text(),
             QStringLiteral("OK"));
    QCOMPARE(chooser->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->text(),
             QStringLiteral("Cancel"));
    QCOMPARE(chooser->windowModality(), Qt::ApplicationModal);
    const QPoint offset =
        chooser->frameGeometry().center() - chooser->screen()->geometry().center();
    // Before it is shown the window has no frame yet; allow for the frame's width.
    QVERIFY2(offset.manhattanLength() <= 8, "not centred on the screen");

    QTest::mouseClick(chooser->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    QVERIFY(!chooser->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(m_chooser.isNull());
    QCOMPARE(m_box->text(), path(QStringLiteral("volume/program/")));
}

QTEST_MAIN(DirectoryChooserTest)
#include "directory_chooser_test.moc"
