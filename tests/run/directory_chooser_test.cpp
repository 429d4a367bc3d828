// The Change Directory dialog as Browse opens it, worked with keys and the mouse. A temporary
// folder "volume" stands for a second mounted disk, "/offline" for one without a medium and
// "plain.txt" for a drive that is there but cannot be listed.
#include "run/directory_chooser.h"
#include "support/data_rows.h"
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

    QTemporaryDir m_base;
    QString path(const QString& p) const { return QDir(m_base.path()).filePath(p); }

private Q_SLOTS:
    void initTestCase()
    {
        for (const char* folder : {"volume/program", "volume/data", "run 1/sub b", "run 1/Sub a"})
            QVERIFY(QDir(m_base.path()).mkpath(QString::fromLatin1(folder)));
        QFile file(path(u"plain.txt"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    void chooseAndClose_data()
    {
        // Paths are relative to the test folder; "/" is the root.
        // start: the working-directory text; "" for none
        columns<QString>("start");
        // "enter", "double click", "click" (select only), "drive" picked with the arrow keys,
        // "same drive" chosen again, "cancel" after the root is picked
        // shown: the folder, the drive list's choice, any message
        columns<QString, QString, QString, QString>("how", "target", "shown", "written");
        addRow("starts in the working directory", "run 1/", "", "", "run 1 | / |", "run 1/");
        addRow("starts on the working directory's volume", "volume/data", "", "",
               "volume/data | volume |", "volume/data/");
        for (const char* start : {"", "gone/", "plain.txt"})
            addRow(start, start, "", "", "volume/program | volume |", "volume/program/");
        addRow("subfolder opened by Enter", "run 1/", "enter", "Sub a", "run 1/Sub a | / |",
               "run 1/Sub a/");
        addRow("subfolder opened by double click", "run 1/", "double click", "sub b",
               "run 1/sub b | / |", "run 1/sub b/");
        addRow("subfolder only selected", "run 1/", "click", "sub b", "run 1 | / |", "run 1/");
        addRow("root gets one separator", "run 1/", "double click", "/", "/ | / |", "/");
        addRow("another drive", "run 1/", "drive", "volume", "volume | volume |", "volume/");
        addRow("drive not ready", "run 1/", "drive", "/offline",
               "volume | volume | Drive /offline is not on line or does not exist.", "volume/");
        addRow("the drive shown chosen again", "run 1/Sub a", "same drive", "", "run 1/Sub a | / |",
               "run 1/Sub a/");
        addRow("drive that cannot be read", "volume/data", "drive", "plain.txt",
               "volume/data | volume | Error: Not a directory", "volume/data/");
        addRow("cancel keeps the text", "typed by hand", "cancel", "/", "/ | / |", "typed by hand");
    }
    void chooseAndClose()
    {
        auto [start, how, target, shown, written] =
            fetchRow<QString, QString, QString, QString, QString>("start", "how", "target", "shown",
                                                                  "written");
        FakeVolumes volumes;
        // Each drive a row picks is next to the one it starts on: no other is passed on the way.
        volumes.rootList = {u"/offline"_s, u"/"_s, path(u"volume"_s), path(u"plain.txt"_s)};
        volumes.notReady = {u"/offline"_s};
        RecordingMessages messages;
        QLineEdit box(start.isEmpty() ? start : path(start));
        QPointer<DirectoryChooser> chooser =
            openDirectoryChooser(nullptr, &box, path(u"volume/program"_s), volumes, messages);
        // Reaching this line means Browse did not wait; the main window is blocked all the same.
        QCOMPARE(chooser->windowModality(), Qt::ApplicationModal);
        QCOMPARE(chooser->windowTitle(), u"Change Directory"_s);
        auto* drives = chooser->findChild<QComboBox*>(u"Drive1"_s);
        auto* folders = chooser->findChild<QTreeWidget*>(u"Dir1"_s);
        if (how == u"same drive"_s) {
            Q_EMIT drives->activated(drives->currentIndex());
        } else if (how == u"drive"_s || how == u"cancel"_s) {
            // Count the steps first: the dialog may move the list itself after the last one.
            const int steps = drives->findText(path(target)) - drives->currentIndex();
            for (int i = 0; i < qAbs(steps); ++i)
                QTest::keyClick(drives, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
        } else if (!how.isEmpty()) {
            const auto found = folders->findItems(target, Qt::MatchExactly | Qt::MatchRecursive);
            const QPoint centre = folders->visualItemRect(found.value(0)).center();
            QTest::mouseClick(folders->viewport(), Qt::LeftButton, {}, centre);
            if (how == u"enter"_s)
                QTest::keyClick(folders, Qt::Key_Return);
            if (how == u"double click"_s)
                QTest::mouseDClick(folders->viewport(), Qt::LeftButton, {}, centre);
        }
        const auto relative = [this](const QString& p) {
            return p == u"/"_s ? p : QDir(m_base.path()).relativeFilePath(p);
        };
        QCOMPARE(relative(chooser->findChild<QLabel*>(u"lblCurDir"_s)->text()) + u" | "_s +
                     relative(drives->currentText()) + u" |"_s +
                     messages.shown.join(u' ').remove(u"plain:"_s),
                 shown);
        QTest::mouseClick(
            chooser->findChild<QPushButton*>(how == u"cancel"_s ? u"cmdCancel"_s : u"cmdOK"_s),
            Qt::LeftButton);
        QCOMPARE(box.text(), path(written));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(chooser.isNull());
    }
};

QTEST_MAIN(DirectoryChooserTest)
#include "directory_chooser_test.moc"
