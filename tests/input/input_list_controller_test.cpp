#include "fixtures/fixture_writer.h"
#include "input/input_list_controller.h"
#include "support/fake_services.h"

#include <QDateTimeEdit>
#include <QDir>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <memory>

using namespace gridloom;
using gridloom::testing::RecordingMessages;
using gridloom::testing::ScriptedFileChooser;
using gridloom::testing::ShownMessage;

namespace {

QString qt(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const QString unreadable = qt(unreadableHeaderMessage);
const QString tooMany = qt(tooManyMergeFilesMessage);
const QString finer = qt(finerGridMessage);
const QString otherStart = qt(differentStartMessage);
const QString otherEnd = qt(differentEndMessage);

// A main window's worth of the controls the list works on, with recording stand-ins around.
struct Bench {
    QWidget window;
    QListWidget* list = new QListWidget(&window);
    QLineEdit* workingDir = new QLineEdit(&window);
    QDateTimeEdit* startDate = new QDateTimeEdit(&window);
    QLineEdit* startHour = new QLineEdit(QStringLiteral("0"), &window);
    QDateTimeEdit* endDate = new QDateTimeEdit(&window);
    QLineEdit* endHour = new QLineEdit(QStringLiteral("0"), &window);
    std::array<QLabel*, 6> domain{};
    RecordingMessages messages;
    ScriptedFileChooser files;
    ProcessingMode mode = ProcessingMode::Merge;
    int latLonSelections = 0;
    QStringList suggestedWithStartHour;
    std::unique_ptr<InputListController> controller;

    explicit Bench(const QString& programFolder = QStringLiteral("/opt/gridloom"))
    {
        const QDateTime startup(QDate(2008, 9, 18), QTime(0, 0));
        startDate->setDateTime(startup);
        endDate->setDateTime(startup);
        for (auto& label : domain)
            label = new QLabel(QStringLiteral("---"), &window);
        InputListController::Hooks hooks{[this] { return mode; }, [this] { ++latLonSelections; },
                                         [this] { suggestedWithStartHour << startHour->text(); }};
        controller = std::make_unique<InputListController>(
            InputListController::Controls{list, workingDir, startDate, startHour, endDate, endHour,
                                          domain},
            std::move(hooks), messages, files, programFolder);
        window.resize(400, 300);
        list->setGeometry(0, 0, 400, 200);
    }

    QStringList labels() const
    {
        QStringList texts;
        for (const auto* label : domain)
            texts << label->text();
        return texts;
    }
    QString period() const
    {
        const QString format = QStringLiteral("yyyy-MM-dd HH:mm");
        return startDate->dateTime().toString(format) + QLatin1Char('/') + startHour->text() +
               QStringLiteral(" - ") + endDate->dateTime().toString(format) + QLatin1Char('/') +
               endHour->text();
    }
    QStringList entries() const
    {
        QStringList texts;
        for (int row = 0; row < list->count(); ++row)
            texts << list->item(row)->text();
        return texts;
    }
    QColor colour() const { return list->palette().color(QPalette::Base); }
    void add(const QString& path) { controller->addPaths({path}); }
};

QStringList words(const char* text)
{
    return QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

class InputListControllerTest final : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_files = 0;

    // A readable file of the given grid spacing and period; extent fields may be replaced.
    QString file(double spacing, const std::string& stamp = "2002093012", int hours = 109,
                 const QStringList& extent = {})
    {
        fixtures::SampleHeader sample;
        sample.gridSpacingKm = spacing;
        sample.startStamp = stamp;
        sample.hourCount = hours;
        for (int n = 0; n < extent.size(); ++n)
            sample.extent[static_cast<std::size_t>(n)] = extent[n].toStdString();
        const QString path = m_dir.filePath(QStringLiteral("in%1.m3d").arg(++m_files));
        fixtures::writeFixture(path.toStdString(), sample);
        return path;
    }
    QString unreadableFile()
    {
        const QString path = m_dir.filePath(QStringLiteral("bad%1.m3d").arg(++m_files));
        fixtures::writeText(path.toStdString(), "3D.DAT\nnot a header\n");
        return path;
    }
    // A path of exactly `length` characters inside the temporary folder, made of nested
    // folders so no single name grows too long; the file exists when `create` is set.
    QString pathOfLength(int length, bool create)
    {
        QString folder = m_dir.path() + QStringLiteral("/long%1").arg(++m_files);
        const QString name = QStringLiteral("/f.m3d");
        while (folder.size() + name.size() < length)
            folder += QLatin1Char('/') +
                      QString(std::min<qsizetype>(60, length - folder.size() - name.size() - 1),
                              QLatin1Char('d'));
        const QString path = folder + name;
        if (path.size() != length)
            return QString();
        if (create) {
            QDir().mkpath(folder);
            fixtures::writeFixture(path.toStdString(), {});
        }
        return path;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void initialFolderOfTheDialog_data()
    {
        QTest::addColumn<QString>("workingDir");
        QTest::addColumn<bool>("usesWorkingDir");

        QDir(m_dir.path()).mkpath(QStringLiteral("withfile"));
        QDir(m_dir.path()).mkpath(QStringLiteral("empty"));
        fixtures::writeFixture(m_dir.filePath(QStringLiteral("withfile/a.m3d")).toStdString(), {});
        const QString withFile = m_dir.filePath(QStringLiteral("withfile"));
        const QString empty = m_dir.filePath(QStringLiteral("empty"));

        QTest::newRow("empty text") << QString() << false;
        QTest::newRow("blanks only") << QStringLiteral("   ") << false;
        QTest::newRow("folder with a file, ending in a separator")
            << withFile + QStringLiteral("/") << true;
        QTest::newRow("the same folder without the separator") << withFile << false;
        QTest::newRow("empty folder") << empty + QStringLiteral("/") << false;
        QTest::newRow("missing folder") << m_dir.filePath(QStringLiteral("gone/")) << false;
        QTest::newRow("pattern matching a file") << withFile + QStringLiteral("/*.m3d") << true;
        QTest::newRow("pattern matching nothing") << withFile + QStringLiteral("/*.dat") << false;
        QTest::newRow("a file itself") << withFile + QStringLiteral("/a.m3d") << true;
        QTest::newRow("leading blank before a good folder")
            << QStringLiteral(" ") + withFile + QStringLiteral("/") << false;
    }
    void initialFolderOfTheDialog()
    {
        QFETCH(QString, workingDir);
        QFETCH(bool, usesWorkingDir);

        Bench bench(QStringLiteral("/opt/gridloom"));
        bench.workingDir->setText(workingDir);
        bench.controller->addFile();
        QCOMPARE(bench.files.initialFolders,
                 QStringList{usesWorkingDir ? workingDir : QStringLiteral("/opt/gridloom")});
    }

    void mergeFileSetsPeriodLimitsAndName()
    {
        Bench bench;
        bench.add(file(12.0, "2002093012", 109, words("1 1 60 50 1 23 -120.5 -95 25.25 50")));
        QCOMPARE(bench.period(), QStringLiteral("2002-09-30 12:00/12 - 2002-10-05 00:00/0"));
        QCOMPARE(bench.labels(), words("120.5W 25.25N 95W 50N 1 23"));
        // The name rule runs once the period is in place.
        QCOMPARE(bench.suggestedWithStartHour, QStringList{QStringLiteral("12")});
        QCOMPARE(bench.latLonSelections, 1);

        // A later merge file overwrites the whole period, even with the pickers moved.
        bench.startDate->setDateTime(QDateTime(QDate(2001, 1, 1), QTime(5, 0)));
        bench.endHour->setText(QStringLiteral("7"));
        bench.add(file(36.0, "2002093012", 109));
        QCOMPARE(bench.period(), QStringLiteral("2002-09-30 12:00/12 - 2002-10-05 00:00/0"));
        QCOMPARE(bench.suggestedWithStartHour.size(), 2);
    }

    void extractWidensThePeriod()
    {
        Bench bench;
        bench.mode = ProcessingMode::Extract;
        bench.add(file(12.0, "2002093012", 109));
        QCOMPARE(bench.period(), QStringLiteral("2002-09-30 12:00/12 - 2002-10-05 00:00/0"));
        QCOMPARE(bench.labels(), words("1 1 60 50 1 23"));

        bench.add(file(4.0, "2002100500", 48));
        QCOMPARE(bench.period(), QStringLiteral("2002-09-30 12:00/12 - 2002-10-06 23:00/23"));
        bench.add(file(36.0, "2002100100", 24));
        QCOMPARE(bench.period(), QStringLiteral("2002-09-30 12:00/12 - 2002-10-06 23:00/23"));

        // The user moved the start; an earlier file moves it back, the end stays.
        bench.startDate->setDateTime(QDateTime(QDate(2002, 10, 2), QTime(0, 0)));
        bench.startHour->setText(QStringLiteral("0"));
        bench.add(file(1.0, "2002100100", 2));
        QCOMPARE(bench.period(), QStringLiteral("2002-10-01 00:00/0 - 2002-10-06 23:00/23"));

        QCOMPARE(bench.controller->count(), 4);
        QVERIFY(bench.messages.shown.empty());
        QCOMPARE(bench.latLonSelections, 0);
        QVERIFY(bench.suggestedWithStartHour.isEmpty());
    }

    void extractListStaysAfterSwitchingToMerge()
    {
        Bench bench;
        bench.mode = ProcessingMode::Extract;
        for (double spacing : {36.0, 12.0, 4.0, 1.0})
            bench.add(file(spacing));
        bench.mode = ProcessingMode::Merge;
        bench.add(file(36.0));
        QCOMPARE(bench.controller->count(), 4);
        QCOMPARE(bench.messages.texts(), QStringList{tooMany});
    }

    void pathLengthRule()
    {
        Bench bench;
        const QString exact = pathOfLength(132, true);
        const QString over = pathOfLength(133, false);
        QCOMPARE(exact.size(), 132);
        QCOMPARE(over.size(), 133);

        bench.add(over);
        QCOMPARE(bench.controller->count(), 0);
        QCOMPARE(bench.messages.shown.size(), std::size_t{1});
        QCOMPARE(bench.messages.shown[0].kind, ShownMessage::Kind::Path);
        QCOMPARE(bench.messages.last(), qt(pathTooLongMessage));
        QCOMPARE(bench.colour(), QColor(255, 255, 0));

        // A refusal later in the procedure leaves the colour as its check set it.
        bench.add(unreadableFile());
        QCOMPARE(bench.colour(), QColor(255, 255, 255));
        bench.add(over);
        QCOMPARE(bench.colour(), QColor(255, 255, 0));

        bench.add(exact);
        QCOMPARE(bench.entries(), QStringList{exact});
        QCOMPARE(bench.colour(), QColor(255, 255, 255));
    }

    void clearAllEmptiesListAndLimitsOnly()
    {
        Bench bench;
        bench.add(file(4.0, "2002093012", 109));
        bench.add(file(12.0, "2002093012", 109));
        bench.add(pathOfLength(140, false));
        const QString period = bench.period();

        bench.controller->clearAll();
        QCOMPARE(bench.controller->count(), 0);
        QVERIFY(bench.controller->paths().empty());
        QCOMPARE(bench.labels(), words("--- --- --- --- --- ---"));
        QCOMPARE(bench.period(), period);
        QCOMPARE(bench.colour(), QColor(255, 255, 0));

        // Nothing to redraw from an empty list, and a click there shows nothing.
        bench.controller->showLastLimits(LimitsView::Geographic);
        bench.controller->showEntry(0);
        QCOMPARE(bench.labels(), words("--- --- --- --- --- ---"));

        // The first file after clearing is compared with nothing.
        bench.add(file(1.0, "2010010100", 5));
        QCOMPARE(bench.controller->count(), 1);
        QCOMPARE(bench.messages.texts(), QStringList{qt(pathTooLongMessage)});
    }

    void clickShowsTheClickedFile_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("second");

        QTest::newRow("extract, index view") << 1 << words("3 4 70 80 2 20");
        QTest::newRow("merge, geographic view") << 0 << words("100.25W 30N 90W 45.5N 2 20");
    }
    void clickShowsTheClickedFile()
    {
        QFETCH(int, mode);
        QFETCH(QStringList, second);

        Bench bench;
        bench.mode = static_cast<ProcessingMode>(mode);
        bench.add(file(4.0, "2002093012", 109, words("1 1 60 50 1 23 -120.5 -95 25.25 50")));
        bench.add(unreadableFile());
        // Written the way a file may write them; the click rebuilds them from the numbers.
        bench.add(
            file(12.0, "2002093012", 109, words("003 4.0 70 80 +2 20 -100.250 -90.0 30.00 45.5")));
        bench.add(file(36.0, "2002093012", 109, words("5 5 9 9 1 9 1 2 3 4")));
        QCOMPARE(bench.controller->count(), 3);

        bench.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bench.window));
        const QRect second_row = bench.list->visualItemRect(bench.list->item(1));
        QTest::mouseClick(bench.list->viewport(), Qt::LeftButton, {}, second_row.center());
        QCOMPARE(bench.labels(), second);

        // The coordinate-type options still redraw the last file's limits, as written.
        bench.controller->showLastLimits(LimitsView::Index);
        QCOMPARE(bench.labels(), words("5 5 9 9 1 9"));
        bench.controller->showLastLimits(LimitsView::Geographic);
        QCOMPARE(bench.labels(), words("1E 3N 2E 4N 1 9"));

        // Clicking the row that is already current shows it again.
        QTest::mouseClick(bench.list->viewport(), Qt::LeftButton, {}, second_row.center());
        QCOMPARE(bench.labels(), second);
    }

    void tooltipDescribesTheFile()
    {
        Bench bench;
        bench.add(file(12.0, "2002093012", 109));
        const QString tip = bench.list->item(0)->toolTip();
        for (const char* part :
             {"Grid spacing: 12 km", "First hour: 2002-09-30 12:00 UTC",
              "Last hour: 2002-10-05 00:00 UTC", "Hours: 109",
              "Index i: 1 To 60, j: 1 To 50, k: 1 To 23", "Lon: 120.5W To 95W, Lat: 25.25N To 50N"})
            QVERIFY2(tip.contains(QString::fromUtf8(part)), qPrintable(tip));
    }

    void droppedFilesAreAdded()
    {
        Bench bench;
        bench.mode = ProcessingMode::Extract;
        const QString a = file(12.0);
        const QString b = file(4.0);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(a), QUrl(QStringLiteral("https://example.org/x.m3d")),
                      QUrl::fromLocalFile(unreadableFile()), QUrl::fromLocalFile(b)});
        QWidget* viewport = bench.list->viewport();

        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(bench.entries(),
                 (QStringList{QDir::toNativeSeparators(a), QDir::toNativeSeparators(b)}));
        QCOMPARE(bench.messages.texts(), QStringList{unreadable});

        QMimeData text;
        text.setText(QStringLiteral("not a file"));
        QDragEnterEvent textEnter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton,
                                  Qt::NoModifier);
        textEnter.ignore();
        QCoreApplication::sendEvent(viewport, &textEnter);
        QVERIFY(!textEnter.isAccepted());
    }
};

QTEST_MAIN(InputListControllerTest)
#include "input_list_controller_test.moc"
