#include "app/main_window.h"
#include "fixtures/fixture_writer.h"
#include "input/input_list_rules.h"
#include "support/fake_services.h"

#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace gridloom;
using gridloom::testing::FakeServices;
using gridloom::testing::ShownMessage;

namespace {

QString qt(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

template <typename T = QWidget> T* find(QWidget& window, const QString& name)
{
    auto* widget = window.findChild<T*>(name);
    if (!widget)
        qFatal("no control named %s", qPrintable(name));
    return widget;
}

template <typename T = QWidget> T* find(QWidget& window, const char* name)
{
    return find<T>(window, QString::fromLatin1(name));
}

QString limits(QWidget& window)
{
    QStringList texts;
    for (int i = 0; i < 6; ++i)
        texts << find<QLabel>(window, QStringLiteral("Domain%1").arg(i))->text();
    return texts.join(QLatin1Char(' '));
}

QString period(QWidget& window)
{
    const QString format = QStringLiteral("yyyy-MM-dd");
    return find<QDateTimeEdit>(window, "StartDate")->date().toString(format) + QLatin1Char('/') +
           find<QLineEdit>(window, "StartHour")->text() + QStringLiteral(" - ") +
           find<QDateTimeEdit>(window, "EndDate")->date().toString(format) + QLatin1Char('/') +
           find<QLineEdit>(window, "EndHour")->text();
}

QStringList entries(QWidget& window)
{
    auto* list = find<QListWidget>(window, "FileListBox");
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text();
    return texts;
}

void click(QWidget& window, const char* name)
{
    QTest::mouseClick(find(window, name), Qt::LeftButton);
}

} // namespace

class AddFileWindowTest final : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_count = 0;

    QString file(double spacing, const std::string& stamp = "2002093012", int hours = 109,
                 const char* extent = nullptr)
    {
        fixtures::SampleHeader sample;
        sample.gridSpacingKm = spacing;
        sample.startStamp = stamp;
        sample.hourCount = hours;
        if (extent != nullptr) {
            const QStringList fields = QString::fromLatin1(extent).split(QLatin1Char(' '));
            for (int n = 0; n < 10; ++n)
                sample.extent[static_cast<std::size_t>(n)] = fields[n].toStdString();
        }
        const QString path = m_dir.filePath(QStringLiteral("w%1.m3d").arg(++m_count));
        fixtures::writeFixture(path.toStdString(), sample);
        return path;
    }
    QString unreadable()
    {
        const QString path = m_dir.filePath(QStringLiteral("w%1.dat").arg(++m_count));
        fixtures::writeText(path.toStdString(), std::string(6000, '\n'));
        return path;
    }
    QString tooLong()
    {
        return m_dir.filePath(QString(140, QLatin1Char('x')) + QStringLiteral(".m3d"));
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void mergeModeMessages_data()
    {
        // Each inner list is one press of Add File and what the dialog answers; "unreadable",
        // "long" and "first" stand for an unreadable file, a path over 132 characters and the
        // first file again.
        QTest::addColumn<QList<QStringList>>("presses");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QList<int>>("kinds");
        QTest::addColumn<int>("listed");

        const auto press = [](std::initializer_list<const char*> files) {
            QStringList list;
            for (const char* f : files)
                list << QString::fromLatin1(f);
            return list;
        };
        const int job = static_cast<int>(ShownMessage::Kind::Job);
        const int path = static_cast<int>(ShownMessage::Kind::Path);

        QTest::newRow("unreadable header")
            << QList<QStringList>{press({"12"}), press({"unreadable"})}
            << QStringList{qt(unreadableHeaderMessage)} << QList<int>{job} << 1;
        QTest::newRow("fourth file")
            << QList<QStringList>{press({"4"}), press({"12"}), press({"36"}), press({"36"})}
            << QStringList{qt(tooManyMergeFilesMessage)} << QList<int>{job} << 3;
        QTest::newRow("finer after coarser")
            << QList<QStringList>{press({"12"}), press({"4"})} << QStringList{qt(finerGridMessage)}
            << QList<int>{job} << 1;
        QTest::newRow("other start")
            << QList<QStringList>{press({"12"}), press({"12 2002093013"})}
            << QStringList{qt(differentStartMessage)} << QList<int>{job} << 1;
        QTest::newRow("other end")
            << QList<QStringList>{press({"12"}), press({"12 2002093012 110"})}
            << QStringList{qt(differentEndMessage)} << QList<int>{job} << 1;
        QTest::newRow("same file twice") << QList<QStringList>{press({"12"}), press({"first"})}
                                         << QStringList{} << QList<int>{} << 1;
        QTest::newRow("path too long")
            << QList<QStringList>{press({"long"}), press({"12"})}
            << QStringList{qt(pathTooLongMessage)} << QList<int>{path} << 1;
        QTest::newRow("compared with the last accepted file, not the refused one")
            << QList<QStringList>{press({"12", "36 2002093013", "24"})}
            << QStringList{qt(differentStartMessage)} << QList<int>{job} << 2;
        QTest::newRow("several files in one press")
            << QList<QStringList>{press({"4", "unreadable", "2", "12", "first", "36", "48"})}
            << QStringList{qt(unreadableHeaderMessage), qt(finerGridMessage),
                           qt(tooManyMergeFilesMessage)}
            << QList<int>{job, job, job} << 3;
        QTest::newRow("cancel") << QList<QStringList>{press({})} << QStringList{} << QList<int>{}
                                << 0;
    }
    void mergeModeMessages()
    {
        QFETCH(QList<QStringList>, presses);
        QFETCH(QStringList, shown);
        QFETCH(QList<int>, kinds);
        QFETCH(int, listed);

        FakeServices fakes;
        MainWindow window(fakes.services());
        window.show();
        QString first;
        for (const QStringList& press : presses) {
            QStringList answer;
            for (const QString& what : press) {
                if (what == QStringLiteral("unreadable")) {
                    answer << unreadable();
                } else if (what == QStringLiteral("long")) {
                    answer << tooLong();
                } else if (what == QStringLiteral("first")) {
                    answer << first;
                } else {
                    const QStringList parts = what.split(QLatin1Char(' '));
                    answer << file(parts[0].toDouble(),
                                   parts.size() > 1 ? parts[1].toStdString() : "2002093012",
                                   parts.size() > 2 ? parts[2].toInt() : 109);
                    if (first.isEmpty())
                        first = answer.last();
                }
            }
            fakes.files.answers.push_back(answer);
            click(window, "AddFileButton");
        }

        QCOMPARE(fakes.messages.texts(), shown);
        QList<int> shownKinds;
        for (const auto& message : fakes.messages.shown)
            shownKinds << static_cast<int>(message.kind);
        QCOMPARE(shownKinds, kinds);
        QCOMPARE(entries(window).size(), listed);
        QCOMPARE(window.jobSettings().inputPaths.size(), std::size_t(listed));
        QCOMPARE(window.coordinateType(),
                 listed > 0 ? CoordinateType::LatLon : CoordinateType::None);
        if (listed > 0) {
            QCOMPARE(period(window), QStringLiteral("2002-09-30/12 - 2002-10-05/0"));
            QCOMPARE(find<QLineEdit>(window, "OutFileBaseNameBox")->text(),
                     QStringLiteral("merged_2002093012.m3d"));
        } else {
            QCOMPARE(limits(window), QStringLiteral("--- --- --- --- --- ---"));
        }
    }

    void extractModeTakesAnyFilesAndWidensThePeriod()
    {
        FakeServices fakes;
        MainWindow window(fakes.services());
        window.show();
        click(window, "MergingOptionButton1");
        QCOMPARE(window.mode(), ProcessingMode::Extract);

        fakes.files.answers = {
            {file(12.0, "2002093012", 109, "1 1 60 50 1 23 -120.5 -95 25.25 50")},
            {file(36.0, "2002100500", 48)},
            {file(4.0, "2002092900", 24, "2 3 40 41 1 10 0 1 2 3")},
            {file(1.0, "2002100100", 2)},
            {file(1.0, "2002100100", 2)}};
        for (int press = 0; press < 5; ++press)
            click(window, "AddFileButton");

        QVERIFY(fakes.messages.shown.empty());
        QCOMPARE(entries(window).size(), 5);
        QCOMPARE(period(window), QStringLiteral("2002-09-29/0 - 2002-10-06/23"));
        QCOMPARE(limits(window), QStringLiteral("1 1 60 50 1 23"));
        QCOMPARE(find<QLabel>(window, "LabelX")->text(), QStringLiteral("Index i:"));
        QCOMPARE(window.coordinateType(), CoordinateType::IJK);
        QVERIFY(find<QLineEdit>(window, "OutFileBaseNameBox")->text().isEmpty());

        // A click on the third entry shows its limits as indices.
        auto* list = find<QListWidget>(window, "FileListBox");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(2)).center());
        QCOMPARE(limits(window), QStringLiteral("2 3 40 41 1 10"));
    }

    void mergeAfterAnExtractVisitTurnsToLatLon()
    {
        FakeServices fakes;
        MainWindow window(fakes.services());
        window.show();
        click(window, "MergingOptionButton1");
        click(window, "MergingOptionButton0");
        QCOMPARE(window.coordinateType(), CoordinateType::IJK);

        fakes.files.answers = {{file(12.0)}};
        click(window, "AddFileButton");
        QCOMPARE(window.coordinateType(), CoordinateType::LatLon);
        QCOMPARE(find<QLabel>(window, "LabelX")->text(), QStringLiteral("Lon:"));
        QCOMPARE(limits(window), QStringLiteral("120.5W 25.25N 95W 50N 1 23"));
    }

    void clickAndClearAll()
    {
        FakeServices fakes;
        MainWindow window(fakes.services());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        fakes.files.answers = {{file(4.0, "2002093012", 109, "1 1 60 50 1 23 -120.5 -95 25.25 50"),
                                unreadable(),
                                file(12.0, "2002093012", 109, "1 1 20 17 1 23 -110 -100 30 40.5")}};
        click(window, "AddFileButton");
        QCOMPARE(limits(window), QStringLiteral("110W 30N 100W 40.5N 1 23"));

        auto* list = find<QListWidget>(window, "FileListBox");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
        QCOMPARE(limits(window), QStringLiteral("120.5W 25.25N 95W 50N 1 23"));

        const QString before = period(window);
        click(window, "ClearAllFileButton");
        QVERIFY(entries(window).isEmpty());
        QCOMPARE(limits(window), QStringLiteral("--- --- --- --- --- ---"));
        QCOMPARE(period(window), before);
        QCOMPARE(window.coordinateType(), CoordinateType::LatLon);

        // After clearing, a finer grid is the first file again and compared with nothing.
        fakes.messages.clear();
        fakes.files.answers = {{file(1.0, "2003010100", 5)}};
        click(window, "AddFileButton");
        QVERIFY(fakes.messages.shown.empty());
        QCOMPARE(period(window), QStringLiteral("2003-01-01/0 - 2003-01-01/4"));
    }
};

QTEST_MAIN(AddFileWindowTest)
#include "add_file_window_test.moc"
