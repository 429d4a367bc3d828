#include "domain/domain_checks.h"

#include "common/numbers.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace gridloom {

namespace {

// A field text together with the name the refusal messages call it by.
struct NamedText {
    const std::string& text;
    const char* name;
};

std::string notANumberMessage(const char* name)
{
    return std::string("Please enter numbers only: ") + name + " is not a number.";
}

std::string outOfRangeMessage(const char* name)
{
    return std::string("Please enter values from -32768 to 32767 only: ") + name +
           " is out of range.";
}

// Refuses the first text that is no number at all.
template <std::size_t N>
std::optional<std::string> refuseNonNumbers(const std::array<NamedText, N>& fields)
{
    for (const auto& field : fields)
        if (!parseRealNumber(field.text))
            return notANumberMessage(field.name);
    return std::nullopt;
}

// Refuses the first text that is no number, or whose half-even rounding does not fit the
// 16-bit whole number it is stored as.
template <std::size_t N>
std::optional<std::string> refuseNonWholeNumbers(const std::array<NamedText, N>& fields)
{
    if (auto refusal = refuseNonNumbers(fields))
        return refusal;
    for (const auto& field : fields)
        if (!parseWholeNumber(field.text))
            return outOfRangeMessage(field.name);
    return std::nullopt;
}

// Refuses with `message` when a text is empty, else the first text that is no whole number.
template <std::size_t N>
std::optional<std::string> refuseMissingOrNonWhole(const std::array<NamedText, N>& fields,
                                                   const char* message)
{
    for (const auto& field : fields)
        if (field.text.empty())
            return message;
    return refuseNonWholeNumbers(fields);
}

double signedDegrees(double value, std::string_view hemisphere, std::string_view negative)
{
    return hemisphere == negative ? -value : value;
}

} // namespace

std::optional<std::string> checkLatLonDomain(const LatLonDomainTexts& texts)
{
    if (texts.latStart.empty() || texts.lonStart.empty() || texts.latStartHemisphere.empty() ||
        texts.lonStartHemisphere.empty())
        return "Please provide all the requested latitudes/longitudes .";
    if (texts.latEnd.empty() || texts.lonEnd.empty() || texts.latEndHemisphere.empty() ||
        texts.lonEndHemisphere.empty())
        return "Please provide all the requested latitudes/longitudes.";
    return refuseNonNumbers(std::array<NamedText, 4>{{{texts.lonStart, "start longitude"},
                                                      {texts.latStart, "start latitude"},
                                                      {texts.lonEnd, "end longitude"},
                                                      {texts.latEnd, "end latitude"}}});
}

std::optional<std::string> checkIndexDomain(const IndexDomainTexts& texts)
{
    const std::array<NamedText, 6> fields{{{texts.iStart, "i start"},
                                           {texts.iEnd, "i end"},
                                           {texts.jStart, "j start"},
                                           {texts.jEnd, "j end"},
                                           {texts.kStart, "k start"},
                                           {texts.kEnd, "k end"}}};
    if (auto refusal =
            refuseMissingOrNonWhole(fields, "Please provide starting and ending indices."))
        return refusal;
    const auto whole = [](const std::string& text) { return *parseWholeNumber(text); };
    if (whole(texts.iStart) >= whole(texts.iEnd) || whole(texts.jStart) >= whole(texts.jEnd) ||
        whole(texts.kStart) >= whole(texts.kEnd))
        return "Starting indices for i, j and k must be smaller than ending indices";
    return std::nullopt;
}

std::optional<std::string> checkXYDomain(const XYDomainTexts& texts)
{
    const std::array<NamedText, 4> fields{{{texts.xStart, "X start"},
                                           {texts.xEnd, "X end"},
                                           {texts.yStart, "Y start"},
                                           {texts.yEnd, "Y end"}}};
    // The values are stored as whole kilometres, so one that cannot be held that way is
    // refused here, before the comparison that still looks at the fractions.
    if (auto refusal = refuseMissingOrNonWhole(
            fields, "Please provide all the requested X/Y starting and ending coordinnates ."))
        return refusal;
    const auto real = [](const std::string& text) { return *parseRealNumber(text); };
    if (real(texts.xStart) >= real(texts.xEnd) || real(texts.yStart) >= real(texts.yEnd))
        return "Starting values for X and Y must be smaller than ending values";
    return std::nullopt;
}

bool storeLatLonDomain(const LatLonDomainTexts& texts, DomainSelection& domain)
{
    const auto lonStart = parseRealNumber(texts.lonStart);
    const auto lonEnd = parseRealNumber(texts.lonEnd);
    const auto latStart = parseRealNumber(texts.latStart);
    const auto latEnd = parseRealNumber(texts.latEnd);
    if (!lonStart || !lonEnd || !latStart || !latEnd)
        return false;
    domain.bounds[0] = signedDegrees(*lonStart, texts.lonStartHemisphere, "W");
    domain.bounds[1] = signedDegrees(*lonEnd, texts.lonEndHemisphere, "W");
    domain.bounds[2] = signedDegrees(*latStart, texts.latStartHemisphere, "S");
    domain.bounds[3] = signedDegrees(*latEnd, texts.latEndHemisphere, "S");
    return true;
}

bool storeIndexDomain(const IndexDomainTexts& texts, DomainSelection& domain)
{
    const std::array values{parseWholeNumber(texts.iStart), parseWholeNumber(texts.iEnd),
                            parseWholeNumber(texts.jStart), parseWholeNumber(texts.jEnd),
                            parseWholeNumber(texts.kStart), parseWholeNumber(texts.kEnd)};
    for (const auto& value : values)
        if (!value)
            return false;
    for (std::size_t i = 0; i < values.size(); ++i)
        domain.bounds[i] = *values[i];
    return true;
}

bool storeXYDomain(const XYDomainTexts& texts, DomainSelection& domain)
{
    const std::array values{parseWholeNumber(texts.xStart), parseWholeNumber(texts.xEnd),
                            parseWholeNumber(texts.yStart), parseWholeNumber(texts.yEnd)};
    for (const auto& value : values)
        if (!value)
            return false;
    for (std::size_t i = 0; i < values.size(); ++i)
        domain.bounds[i] = *values[i];
    return true;
}

namespace {

template <typename Texts, typename Check, typename Store>
std::optional<std::string> confirm(const Texts& texts, DomainSelection& domain, Check check,
                                   Store store)
{
    if (auto refusal = check(texts)) {
        domain.domainValid = false;
        return refusal;
    }
    // The check refuses every text the store cannot read, so this always stores; should the
    // two ever disagree, the domain must not count as confirmed.
    domain.domainValid = store(texts, domain);
    return std::nullopt;
}

} // namespace

std::optional<std::string> confirmLatLonDomain(const LatLonDomainTexts& texts,
                                               DomainSelection& domain)
{
    return confirm(texts, domain, checkLatLonDomain, storeLatLonDomain);
}

std::optional<std::string> confirmIndexDomain(const IndexDomainTexts& texts,
                                              DomainSelection& domain)
{
    return confirm(texts, domain, checkIndexDomain, storeIndexDomain);
}

std::optional<std::string> confirmXYDomain(const XYDomainTexts& texts, DomainSelection& domain)
{
    return confirm(texts, domain, checkXYDomain, storeXYDomain);
}

std::optional<std::string> confirmDomain(const EnteredDomainTexts& texts, DomainSelection& domain)
{
    struct Confirm {
        DomainSelection& domain;
        auto operator()(const XYDomainTexts& xy) const { return confirmXYDomain(xy, domain); }
        auto operator()(const IndexDomainTexts& index) const
        {
            return confirmIndexDomain(index, domain);
        }
        auto operator()(const LatLonDomainTexts& latLon) const
        {
            return confirmLatLonDomain(latLon, domain);
        }
    };
    return std::visit(Confirm{domain}, texts);
}

} // namespace gridloom
