// The Change Directory dialog as Browse opens it, worked with keys and the mouse. A temporary
// folder "volume" stands for a second mounted disk and "/offline" for one without a medium.
#include "run/directory_chooser.h"
#include "support/fake_services.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace gridloom;
using namespace gridloom::testing;
using namespace Qt::StringLiterals;

class DirectoryChooserTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void chooseAndPressOk_data();
    void chooseAndPressOk();
    void cancelKeepsWorkingDirectory();

private:
    /// Browse with the given text in the working-directory field.
    void open(const QString& workingDirectory);
    /// Picks a drive with the arrow keys, so that the list reports a choice of the user's.
    void chooseDrive(const QString& root);
    /// A path relative to the test folder, or the absolute one given.
    QString path(const QString& p) const { return QDir(m_base->path()).filePath(p); }
    template <typename T> T* control(const char* name) const
    {
        return m_chooser->findChild<T*>(QLatin1String(name));
    }

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
    for (const char* folder : {"volume/program", "volume/data", "run 1/sub b", "run 1/Sub a"})
        QVERIFY(QDir(m_base->path()).mkpath(QString::fromLatin1(folder)));
    QFile file(path(u"plain.txt"_s));
    QVERIFY(file.open(QIODevice::WriteOnly));
    // Each drive a test picks is next to the one it starts on: no other is passed on the way.
    m_volumes.rootList = {u"/offline"_s, u"/"_s, path(u"volume"_s), path(u"plain.txt"_s)};
    m_volumes.notReady = {u"/offline"_s};
    m_messages.clear();
    m_box = std::make_unique<QLineEdit>();
}

void DirectoryChooserTest::cleanup()
{
    delete m_chooser;
    m_box.reset();
}

void DirectoryChooserTest::open(const QString& workingDirectory)
{
    m_box->setText(workingDirectory);
    m_chooser = openDirectoryChooser(nullptr, m_box.get(), path(u"volume/program"_s), m_volumes,
                                     m_messages);
    // Reaching this line means Browse did not wait; the main window is blocked all the same.
    QVERIFY(m_chooser->isVisible());
    QCOMPARE(m_chooser->windowModality(), Qt::ApplicationModal);
    QCOMPARE(m_chooser->windowTitle(), u"Change Directory"_s);
}

void DirectoryChooserTest::chooseDrive(const QString& root)
{
    auto* drives = control<QComboBox>("Drive1");
    // Count the steps first: the dialog may move the list itself in answer to the last one.
    const int steps = drives->findText(root) - drives->currentIndex();
    for (int i = 0; i < qAbs(steps); ++i)
        QTest::keyClick(drives, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
}

void DirectoryChooserTest::chooseAndPressOk_data()
{
    // Paths are relative to the test folder; "/" is the root.
    QTest::addColumn<QString>("start"); // the working-directory text; "" for none
    // "enter", "double click", "click" (select), "drive", or "same drive" chosen again
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("drive");
    QTest::addColumn<QString>("message");
    const auto row = [](const char* name, const char* start, const char* how, const char* target,
                        const char* written, const char* drive, const char* message = "") {
        QTest::newRow(name) << QString::fromUtf8(start) << QString::fromUtf8(how)
                            << QString::fromUtf8(target) << QString::fromUtf8(written)
                            << QString::fromUtf8(drive) << QString::fromUtf8(message);
    };
    row("starts in the working directory", "run 1/", "", "", "run 1/", "/");
    row("starts on the working directory's volume", "volume/data", "", "", "volume/data/",
        "volume");
    row("empty text starts in the program folder", "", "", "", "volume/program/", "volume");
    row("folder gone starts in the program folder", "gone/", "", "", "volume/program/", "volume");
    row("file starts in the program folder", "plain.txt", "", "", "volume/program/", "volume");
    row("subfolder opened by Enter", "run 1/", "enter", "Sub a", "run 1/Sub a/", "/");
    row("subfolder opened by double click", "run 1/", "double click", "sub b", "run 1/sub b/", "/");
    row("subfolder only selected", "run 1/", "click", "sub b", "run 1/", "/");
    row("root gets one separator", "run 1/", "double click", "/", "/", "/");
    row("another drive", "run 1/", "drive", "volume", "volume/", "volume");
    row("drive not ready", "run 1/", "drive", "/offline", "volume/", "volume",
        "Drive /offline is not on line or does not exist.");
    row("the drive shown chosen again", "run 1/Sub a", "same drive", "", "run 1/Sub a/", "/");
    row("drive that cannot be read", "volume/data", "drive", "plain.txt", "volume/data/", "volume",
        "Error: Not a directory");
}

void DirectoryChooserTest::chooseAndPressOk()
{
    QFETCH(QString, start);
    QFETCH(QString, how);
    QFETCH(QString, target);
    QFETCH(QString, written);
    QFETCH(QString, drive);
    QFETCH(QString, message);
    open(start.isEmpty() ? start : path(start));
    auto* folders = control<QTreeWidget>("Dir1");
    if (how == u"same drive"_s) {
        auto* drives = control<QComboBox>("Drive1");
        Q_EMIT drives->activated(drives->currentIndex());
    } else if (how == u"drive"_s) {
        chooseDrive(path(target));
    } else if (!how.isEmpty()) {
        const auto found = folders->findItems(target, Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(found.size(), 1);
        const QPoint centre = folders->visualItemRect(found.front()).center();
        QTest::mouseClick(folders->viewport(), Qt::LeftButton, {}, centre);
        if (how == u"enter"_s)
            QTest::keyClick(folders, Qt::Key_Return);
        if (how == u"double click"_s)
            QTest::mouseDClick(folders->viewport(), Qt::LeftButton, {}, centre);
    }
    std::vector<ShownMessage> shown;
    if (!message.isEmpty())
        shown.push_back({ShownMessage::Kind::Plain, message});
    QCOMPARE(m_messages.shown, shown);
    QCOMPARE(control<QComboBox>("Drive1")->currentText(), path(drive));
    QCOMPARE(control<QLabel>("lblCurDir")->text(), QDir::cleanPath(path(written)));
    QTest::mouseClick(control<QPushButton>("cmdOK"), Qt::LeftButton);
    QCOMPARE(m_box->text(), path(written));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(m_chooser.isNull());
}

void DirectoryChooserTest::cancelKeepsWorkingDirectory()
{
    open(u"typed by hand"_s);
    chooseDrive(u"/"_s);
    QCOMPARE(control<QLabel>("lblCurDir")->text(), u"/"_s);
    QTest::mouseClick(control<QPushButton>("cmdCancel"), Qt::LeftButton);
    QCOMPARE(m_box->text(), u"typed by hand"_s);
    QVERIFY(!m_chooser->isVisible());
}

QTEST_MAIN(DirectoryChooserTest)
#include "directory_chooser_test.moc"
