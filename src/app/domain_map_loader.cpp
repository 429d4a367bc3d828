#include "app/domain_map_loader.h"

#include <QDir>
#include <QLabel>
#include <QLibrary>
#include <map>

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
    auto create = reinterpret_cast<CreateDomainMapFunction>(library.resolve(createDomainMapSymbol));
    if (!create)
        return {nullptr, library.errorString()};
    return {create, {}};
}

DomainMapView* createDomainMap(QWidget* parent, const QString& folder)
{
    // Each folder is looked in once: a loaded module stays for the program's life anyway, and
    // a later folder must not get an earlier folder's answer.
    static std::map<QString, DomainMapModule> modules;
    auto module = modules.find(folder);
    if (module == modules.end())
        module = modules.emplace(folder, loadDomainMapModule(folder)).first;
    if (module->second.create)
        return module->second.create(parent);
    return new MissingMap(parent, module->second.error);
}

} // namespace gridloom
