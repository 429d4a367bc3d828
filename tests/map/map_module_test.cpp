// The program's way to the map: the module loaded from a folder, as at the first "Domain map".
#include "app/domain_map_loader.h"

#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <memory>

using namespace gridloom;

class MapModuleTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void loadsFromTheProgramFolder()
    {
        const DomainMapModule module = loadDomainMapModule(QStringLiteral(GRIDLOOM_MAP_MODULE_DIR));
        QVERIFY2(module.create, qPrintable(module.error));
        QWidget owner;
        DomainMapView* map = module.create(&owner);
        QCOMPARE(map->window()->windowTitle(), QStringLiteral("Domain map"));
        QVERIFY(map->window()->isWindow());
        map->showSnapshot({});
    }

    void saysWhyWhenMissing()
    {
        QTemporaryDir empty;
        const DomainMapModule module = loadDomainMapModule(empty.path());
        QVERIFY(!module.create);
        QVERIFY(!module.error.isEmpty());
    }
};

QTEST_MAIN(MapModuleTest)
#include "map_module_test.moc"
