#include "fixtures/fixture_writer.h"
#include "input/dialog_file_chooser.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace gridloom;

class DialogFileChooserTest final : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    // Runs `inspect` on the file dialog once it is up, then lets the chooser return.
    static QStringList choose(const QString& initialFolder,
                              const std::function<void(QFileDialog&)>& inspect)
    {
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, poll, [poll, inspect] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                poll->stop();
                poll->deleteLater();
                inspect(*dialog);
            }
        });
        poll->start(10);
        DialogFileChooser chooser;
        return chooser.chooseInputFiles(nullptr, initialFolder);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        fixtures::writeFixture(m_dir.filePath(QStringLiteral("a.m3d")).toStdString(), {});
    }

    void opensInTheNamedFolder_data()
    {
        QTest::addColumn<QString>("initial");
        QTest::newRow("folder with separator") << m_dir.path() + QStringLiteral("/");
        QTest::newRow("a file in it") << m_dir.filePath(QStringLiteral("a.m3d"));
        QTest::newRow("a pattern in it") << m_dir.filePath(QStringLiteral("*.m3d"));
    }
    void opensInTheNamedFolder()
    {
        QFETCH(QString, initial);
        QString folder;
        QStringList filters;
        QFileDialog::FileMode mode = QFileDialog::AnyFile;
        const QStringList chosen = choose(initial, [&](QFileDialog& dialog) {
            folder = dialog.directory().absolutePath();
            filters = dialog.nameFilters();
            mode = dialog.fileMode();
            dialog.reject();
        });
        QVERIFY(chosen.isEmpty());
        QCOMPARE(folder, QDir(m_dir.path()).absolutePath());
        QCOMPARE(filters,
                 (QStringList{QStringLiteral("3D.DAT(*.m3d)"), QStringLiteral("3D.DAT (*.dat)"),
                              QStringLiteral("All (*)")}));
        QCOMPARE(mode, QFileDialog::ExistingFiles);
    }
};

QTEST_MAIN(DialogFileChooserTest)
#include "dialog_file_chooser_test.moc"
