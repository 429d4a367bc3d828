// Renders Gridloom's windows to PNG files so anyone can look at them without a display:
// gridloom_screenshots <folder>
#include "app/main_window.h"
#include "app/splash_window.h"
#include "support/fake_services.h"

#include <QApplication>
#include <QDir>
#include <QRadioButton>
#include <QTest>
#include <cstdio>

using namespace gridloom;

namespace {

bool save(QWidget& widget, const QDir& folder, const QString& name)
{
    const QString path = folder.filePath(name);
    const bool saved = widget.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots"));
    if (!folder.mkpath(QStringLiteral(".")))
        return 1;

    bool ok = true;
    SplashWindow splash([] {});
    splash.show();
    ok &= save(splash, folder, QStringLiteral("splash.png"));
    splash.close();

    testing::FakeServices fakes;
    MainWindow window(fakes.services());
    window.show();
    QTest::qWait(50);
    ok &= save(window, folder, QStringLiteral("main_merge.png"));
    window.findChild<QRadioButton*>(QStringLiteral("MergingOptionButton1"))->setChecked(true);
    QTest::qWait(50);
    ok &= save(window, folder, QStringLiteral("main_extract.png"));
    return ok ? 0 : 1;
}
