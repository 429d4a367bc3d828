#include "app/domain_map_loader.h"

#include <QDir>
#include <QLabel>
#include <QLibrary>

namespace gridloom {

namespace {

// Stands where the map would be when its module is missing: no message box, the reason in
// the window the user asked for.
class MissingMap final : public QLabel, public DomainMapView {
public:
    MissingMap(QWidget* parent, const QString& reason) : QLabel(parent)
    {
        setWindowFlag(Qt::Window);
        setWindowTitle(QStringLiteral("Domain map"));
        setObjectName(QStringLiteral("DomainMap"));
        setText(QStringLiteral("The map module could not be loaded: %1").arg(reason));
        setWordWrap(true);
        setMargin(16);
        resize(480, 120);
    }
    QWidget* window() override { return this; }
    void showSnapshot(const MapSnapshot&) override {}
    void setBoxDrawnHandler(std::function<void(const DrawnBox&)>) override {}
};

} // namespace

DomainMapModule loadDomainMapModule(const QString& folder)
{
    // No suffix: QLibrary adds the platform's own (.so, .dll, .dylib).
    QLibrary library(QDir(folder).filePath(QStringLiteral("gridloom_map_window")));
    if (!library.load())
        return {nullptr, library.errorString()};
    // The version before anything else: a module from another build may have a creating
    // function of the same name that takes or returns something else, and calling it would
    // crash the program rather than say why.
    const auto refuse = [&library](const QString& why) {
        library.unload();
        return DomainMapModule{
            nullptr, QStringLiteral("it is from another build of Gridloom (%1)").arg(why)};
    };
    const auto version =
        reinterpret_cast<DomainMapVersionFunction>(library.resolve(domainMapVersionSymbol));
    if (!version)
        return refuse(QStringLiteral("it gives no interface version"));
    if (const int built = version(); built != domainMapInterfaceVersion)
        return refuse(QStringLiteral("interface version %1, this program needs %2")
                          .arg(built)
                          .arg(domainMapInterfaceVersion));
    auto create = reinterpret_cast<CreateDomainMapFunction>(library.resolve(createDomainMapSymbol));
    if (!create)
        return refuse(library.errorString());
    return {create, {}};
}

DomainMapView* createDomainMap(QWidget* parent, const QString& folder)
{
    // Looked for in `folder` at every call, so a later folder gets its own answer and a module
    // put in place after a refusal is found. A module already loaded is not read again: the
    // system's loader hands back the copy it holds.
    const DomainMapModule module = loadDomainMapModule(folder);
    if (module.create)
        return module.create(parent);
    return new MissingMap(parent, module.error);
}

} // namespace gridloom
