#pragma once

#include "common/domain_selection.h"

#include <optional>
#include <string>
#include <variant>

// What OK in the coordinate dialog checks and stores. Every check returns the message it
// refuses with, or nothing when it accepts; a store writes only after its check accepted the
// same texts. Texts that are not numbers are refused by the checks, so a store never turns
// them into a silent zero.
namespace gridloom {

/// The field texts of the longitude/latitude layout, as the dialog's fields hold them.
struct LatLonDomainTexts {
    std::string latStart, lonStart, latStartHemisphere, lonStartHemisphere;
    std::string latEnd, lonEnd, latEndHemisphere, lonEndHemisphere;
};

/// The six grid-index texts.
struct IndexDomainTexts {
    std::string iStart, iEnd, jStart, jEnd, kStart, kEnd;
};

/// The four X/Y kilometre texts.
struct XYDomainTexts {
    std::string xStart, xEnd, yStart, yEnd;
};

/// The entries of one layout of the coordinate dialog.
using EnteredDomainTexts = std::variant<XYDomainTexts, IndexDomainTexts, LatLonDomainTexts>;

/// Presence of every latitude, longitude and hemisphere, then that the four decimal
/// texts are numbers. Neither order nor range is tested.
std::optional<std::string> checkLatLonDomain(const LatLonDomainTexts& texts);
/// Presence, whole numbers within -32768..32767, then each start below its end.
std::optional<std::string> checkIndexDomain(const IndexDomainTexts& texts);
/// Presence, numbers whose rounding fits -32768..32767, then each start below its end
/// (compared with their fractions).
std::optional<std::string> checkXYDomain(const XYDomainTexts& texts);

/// Writes bounds 0..3 (longitude start, end, latitude start, end), negated for "W" and "S".
/// Returns false and writes nothing when a decimal text is no number.
bool storeLatLonDomain(const LatLonDomainTexts& texts, DomainSelection& domain);
/// Writes bounds 0..5 as whole numbers; false and nothing written when one is unreadable.
bool storeIndexDomain(const IndexDomainTexts& texts, DomainSelection& domain);
/// Writes bounds 0..3 as whole kilometres; false and nothing written when one is unreadable.
bool storeXYDomain(const XYDomainTexts& texts, DomainSelection& domain);
/// The store for the layout the entries belong to.
bool storeDomain(const EnteredDomainTexts& texts, DomainSelection& domain);

/// The whole OK action for one coordinate type: check, then store. Returns the refusal
/// message, if any; `domainValid` ends False on a refusal and True after a store, while a
/// refusal leaves the bounds as they were.
std::optional<std::string> confirmLatLonDomain(const LatLonDomainTexts& texts,
                                               DomainSelection& domain);
std::optional<std::string> confirmIndexDomain(const IndexDomainTexts& texts,
                                              DomainSelection& domain);
std::optional<std::string> confirmXYDomain(const XYDomainTexts& texts, DomainSelection& domain);
/// The OK action for the layout the entries belong to.
std::optional<std::string> confirmDomain(const EnteredDomainTexts& texts, DomainSelection& domain);

} // namespace gridloom
