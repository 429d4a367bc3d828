// The coordinate dialog's fields that a box drawn on the domain map fills, per layout.
#include "domain/drawn_box_fields.h"
#include "support/data_rows.h"
#include "support/qt_test_prelude.h"

using namespace gridloom;
using namespace gridloom::testing;

Q_DECLARE_METATYPE(gridloom::CoordinateType)
Q_DECLARE_METATYPE(gridloom::DrawnBox)

namespace {

QString joined(const std::vector<FieldText>& fields)
{
    QStringList parts;
    for (const FieldText& field : fields)
        parts << QString::fromStdString(field.name + "=" + field.text);
    return parts.join(QLatin1Char(' '));
}

// West of Greenwich and south of the equator, on a grid whose corners fall near whole
// kilometres and cells 7-28, 3-23.
const DrawnBox southWest{CoordinateType::LatLon,
                         {-0.5, 12.25, -33.0000004, 0.0},
                         std::array{-191.2, 21.999999999, -179.0000000001, 20.0},
                         std::array{7, 28, 3, 23}};

} // namespace

class DrawnBoxFieldsTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fields_data()
    {
        columns<CoordinateType, DrawnBox, QString>("type", "box", "fields");
        addRow("lat/lon: hemispheres from the signs, six decimals", CoordinateType::LatLon,
               southWest,
               "txtLon1=0.500000 cboLonLL1=W txtLat1=33.000000 cboLatLL1=S txtLon2=12.250000 "
               "cboLonLL2=E txtLat2=0.000000 cboLatLL2=N");
        addRow("x/y: whole kilometres outward, rounding noise ignored", CoordinateType::XY,
               southWest, "TextXStart=-192 TextXEnd=22 TextYStart=-179 TextYEnd=20");
        addRow("i,j,k: the cells, k left alone", CoordinateType::IJK, southWest,
               "TextIndexiStart=7 TextIndexiEnd=28 TextIndexjStart=3 TextIndexjEnd=23");
        DrawnBox noGrid = southWest;
        noGrid.km.reset();
        noGrid.cells.reset();
        addRow("x/y without a known grid", CoordinateType::XY, noGrid, "");
        addRow("i,j,k without a known grid", CoordinateType::IJK, noGrid, "");
        addRow("no type", CoordinateType::None, southWest, "");
    }
    void fields()
    {
        auto [type, box, fields] = fetchRow<CoordinateType, DrawnBox, QString>();
        QCOMPARE(joined(drawnBoxFields(type, box)), fields);
    }
};

QTEST_MAIN(DrawnBoxFieldsTest)
#include "drawn_box_fields_test.moc"
