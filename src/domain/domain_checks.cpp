#include "domain/domain_checks.h"

#include "common/numbers.h"

#include <array>
#include <cstddef>
#include <string_view>
#include <type_traits>

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

namespace {

// Writes the texts, read as whole numbers, into the first bounds in their order; writes nothing
// and returns false when one cannot be read.
template <typename... Texts> bool storeWholeBounds(DomainSelection& domain, const Texts&... texts)
{
    const std::array values{parseWholeNumber(texts)...};
    for (const auto& value : values)
        if (!value)
            return false;
    for (std::size_t i = 0; i < values.size(); ++i)
        domain.bounds[i] = *values[i];
    return true;
}

} // namespace

bool storeIndexDomain(const IndexDomainTexts& texts, DomainSelection& domain)
{
    return storeWholeBounds(domain, texts.iStart, texts.iEnd, texts.jStart, texts.jEnd,
                            texts.kStart, texts.kEnd);
}

bool storeXYDomain(const XYDomainTexts& texts, DomainSelection& domain)
{
    return storeWholeBounds(domain, texts.xStart, texts.xEnd, texts.yStart, texts.yEnd);
}

namespace {

// The check and the store of each layout's texts.
template <typename Texts> struct LayoutRules;
template <> struct LayoutRules<XYDomainTexts> {
    static constexpr auto check = checkXYDomain;
    static constexpr auto store = storeXYDomain;
};
template <> struct LayoutRules<IndexDomainTexts> {
    static constexpr auto check = checkIndexDomain;
    static constexpr auto store = storeIndexDomain;
};
template <> struct LayoutRules<LatLonDomainTexts> {
    static constexpr auto check = checkLatLonDomain;
    static constexpr auto store = storeLatLonDomain;
};

template <typename Texts>
std::optional<std::string> confirm(const Texts& texts, DomainSelection& domain)
{
    if (auto refusal = LayoutRules<Texts>::check(texts)) {
        domain.domainValid = false;
        return refusal;
    }
    // The check refuses every text the store cannot read, so this always stores; should the
    // two ever disagree, the domain must not count as confirmed.
    domain.domainValid = LayoutRules<Texts>::store(texts, domain);
    return std::nullopt;
}

} // namespace

std::optional<std::string> confirmLatLonDomain(const LatLonDomainTexts& texts,
                                               DomainSelection& domain)
{
    return confirm(texts, domain);
}

std::optional<std::string> confirmIndexDomain(const IndexDomainTexts& texts,
                                              DomainSelection& domain)
{
    return confirm(texts, domain);
}

std::optional<std::string> confirmXYDomain(const XYDomainTexts& texts, DomainSelection& domain)
{
    return confirm(texts, domain);
}

std::optional<std::string> confirmDomain(const EnteredDomainTexts& texts, DomainSelection& domain)
{
    return std::visit([&domain](const auto& entered) { return confirm(entered, domain); }, texts);
}

bool storeDomain(const EnteredDomainTexts& texts, DomainSelection& domain)
{
    return std::visit(
        [&domain](const auto& entered) {
            return LayoutRules<std::remove_cvref_t<decltype(entered)>>::store(entered, domain);
        },
        texts);
}

} // namespace gridloom
