#pragma once

#include <QByteArray>

// The comment blocks every control file ends with, written out once for the tests that
// compare whole files.
namespace gridloom::testing {

/// The 38 lines after the data of an extraction control file.
inline const QByteArray extractionCommentBlock =
    " \r\n"
    "********  Lines below are comments ********************************\r\n"
    " \r\n"
    "Description of lines\r\n"
    " \r\n"
    "Line 1: Title\r\n"
    "Line 2: Base name of extracted 3D.DAT files. The program may output\r\n"
    "        more than one file from one application, based on user-input\r\n"
    "       control of number of days in each extracted file (the second\r\n"
    "        last Line).  The output files will be this base name except\r\n"
    "???, which will be replaced by 001, 002....\r\n"
    "Line 3: Beginning date (YYYYMMDDHH) for extraction\r\n"
    "Line 4: Number of input 3D.DAT files, followed by their file names.\r\n"
    "        If this number is zero (0), then the next line will be the\r\n"
    "        basename for input 3D.DAT files with the same rule as Line 2.\r\n"
    "Line 5 ....: Input 3D.DAT file name or input basename\r\n"
    "\r\n"
    "Line\r\n"
    "\r\n"
    "\r\n"
    "Note:\r\n"
    "2. k1 & K2 are not used for MM5 V2 files\r\n"
    "3. New Feature in Version 030430 and after\r\n"
    "   a. If Number of files is set to ZERO, MM5 file names are\r\n"
    "      generated automatically from Input Base name.\r\n"
    "   b. If Number of files > 0, MM5 file names are input from\r\n"
    "     this control file.\r\n"
    " \r\n"
    "------------------------------------------------------------\r\n"
    "Sample for Auto-File names input\r\n"
    "Merge M3D file for Kazakhstan\r\n"
    "Print #FileNum, 'e:\\kazak\\m3d_small\\kzd2???.m3d  :Base of output file name (??? is the "
    "must)\r\n"
    "2002093012                 :beginning of combined MM5 file\r\n"
    "0                          :Number of files (0 for auto_filenames)\r\n"
    "e:\\kazak\\m3d\\junk???.m3d   :Base of input files (??? is the must)\r\n"
    "25,32,27,33,1,28           :Extration RangF: i1,i2,j1,j2,k1,k2\r\n"
    "4                          :Number of days in each merged file\r\n"
    "2002100500                 :last date of all MM5 file\r\n";

/// The 11 lines after the data of a merge control file.
inline const QByteArray mergeCommentBlock =
    " \r\n"
    "----Below are comment lines and not used in the program ------------------\r\n"
    " \r\n"
    "Note:\r\n"
    " \r\n"
    "1. The First choice of 3D.DAT must be the finest domain.  Its Grid size\r\n"
    "   will be grid size of new 3D.DAT\r\n"
    "2. The last choice of 3D.DAT must cover the entire area required\r\n"
    "   by new 3D.DAT.\r\n"
    "3. User specified beg/end range of new 3D.DAT may be adjusted slightly\r\n"
    "   to nearest grid locations.\r\n";

} // namespace gridloom::testing
