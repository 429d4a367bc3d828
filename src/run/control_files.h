#pragma once

#include "common/text_encoding.h"
#include "run/job_validation.h"

#include <functional>
#include <optional>
#include <string>

namespace gridloom {

/// Gives the form of an input path that goes into a control file (the platform's short path).
using PathShortener = std::function<std::string(const std::string&)>;

/// The output base name of an extraction with its "???" placeholder for the file number.
/// A name holding "." gets "???" before its last four characters (counted in `encoding`); one
/// with fewer than four characters gets it in front.
std::string extractionBaseName(const std::string& outputName, TextEncoding encoding);

/// The part of the output name before its first ".", or all of it when it holds none.
std::string outputStem(const std::string& outputName);

/// Where the extraction control file goes: the working-directory text followed by
/// "wxjoin2.inp".
std::string extractionControlPath(const CheckedJob& job);

/// Where the merge control file goes: the working-directory text, the stem, ".inp".
std::string mergeControlPath(const CheckedJob& job);

/// The full text of the extraction control file, CR LF line ends.
std::string extractionControlText(const CheckedJob& job, const PathShortener& shorten);

/// The full text of the merge control file, CR LF line ends.
std::string mergeControlText(const CheckedJob& job, const PathShortener& shorten);

/// Writes the extraction control file in one go; returns the reason when it could not.
std::optional<std::string> writeExtractionControlFile(const CheckedJob& job);

/// Writes the merge control file in one go; returns the reason when it could not.
std::optional<std::string> writeMergeControlFile(const CheckedJob& job);

} // namespace gridloom
