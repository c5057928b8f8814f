// SPDX-License-Identifier: GPL-3.0-or-later
// The measurement files: the binary ".DAT" file of raw 32-byte records, which
// round-trips exactly, and the comma-separated ".CSV" text for spreadsheets,
// which the program reads back; the proposed save name, the extension checks
// and the messages the windows show about them. Standard library only.
//
// Converting a file takes three lines:
//   MeasurementTable t;
//   loadMeasurementFile(t, in, measurementFormatOf(in));
//   saveMeasurementFile(t, out, measurementFormatOf(out), csvStampNow(zoneHours));
#pragma once

#include "common/FileErrors.h"
#include "common/Reporter.h"
#include "ephemeris/DateTime.h"
#include "lab/Measurements.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class MeasurementFormat { Invalid, Dat, Csv };

// --- Names and extensions.

// The extension of the file-name part, from its last "." (empty when none).
std::string fileExtension(const std::string& path);
// ".DAT" -> Dat, ".CSV" -> Csv (letter case does not count), else Invalid.
MeasurementFormat measurementFormatOf(const std::string& path);
// The name the save dialog proposes: the last file chosen for saving with
// everything from its first "." removed (folders included), or "JupSatData1".
std::string proposedSaveName(const std::string& lastDataFile);
// Whether the open dialog starts with ".CSV" and its second filter: when the
// name it starts with has the extension ".CSV".
bool openDialogPrefersCsv(const std::string& currentName);

// The save and open dialogs' filters (each one filter in the file
// chooser's form) and default extensions.
constexpr const char* DatSaveFilter = "Binary (ORVA) Format (*.DAT)";
constexpr const char* CsvSaveFilter = "Spreadsheet (.CSV) Format (*.CSV)";
constexpr const char* DatLoadFilter = "Binary (ORVA Format) Files (*.DAT)";
constexpr const char* CsvLoadFilter = "Comma-Separated (.CSV) Files (*.CSV)";
constexpr const char* DatExtension = ".DAT";
constexpr const char* CsvExtension = ".CSV";
constexpr const char* DefaultSaveName = "JupSatData1";

// --- The messages (the windows show them; no file code shows anything).

Message nothingToSaveMessage();
// "Cannot Save File!" when the chosen name's extension does not fit format.
std::optional<Message> saveExtensionError(const std::string& path, MeasurementFormat format);
// "Cannot Load File!" when the name is neither ".DAT" nor ".CSV".
std::optional<Message> loadExtensionError(const std::string& path);
// "Unable to open <name> for output." when the file could not be created.
Message saveOpenFailedMessage(const std::string& path);
// A read or write fault, or a load file that cannot be opened:
// fileFaultMessage (common/FileErrors.h).
Message mergeQuestion();        // Yes: merge
Message dataNotSavedQuestion(); // No: the load ends with nothing changed
// "Data Loaded" (with the merge line, lines counting the records and the
// values the file held but no table can, and one for a file that ends with an
// incomplete record, when there were any), or "No Data Loaded" for an empty
// table or a file that holds no record.
Message loadedMessage(const std::string& path, bool merged, bool tableEmpty,
                      std::size_t dropped = 0, std::size_t droppedRecords = 0,
                      bool cutShort = false);

// --- Values no table can hold: an offset that is no finite number, or one
// farther than MaxOffset from Jupiter, becomes NoMeasurement (its removed mark
// stays); a record whose Julian date is no number or one that no calendar can
// show (IsCalendarJulianDate) is left out whole. A date of exactly 0 is kept:
// the record without an instant. Such values are never drawn or counted; a
// load says how many values and records it left out.

// Jupiter diameters: Callisto, the farthest moon, is never seen more than
// about 13.2 diameters from the planet's centre, so nothing beyond 100 is a
// measurement (100 itself is NoMeasurement).
constexpr float MaxOffset = 100.0f;

// --- ".DAT": a plain sequence of 32-byte records in table order.

std::string encodeDat(MeasurementTable& table);
struct DatLoadResult {
    std::size_t records = 0;        // whole records inserted
    bool cutShort = false;          // the length was not a multiple of 32 (the rest is ignored)
    std::size_t dropped = 0;        // values left out (see above)
    std::size_t droppedRecords = 0; // whole records left out: their date is unreadable
};
// Inserts every whole record of the bytes in order (InsertAllAsRead); sets
// MeasurementsChanged. A date of 0 stays as it is.
DatLoadResult loadDatBytes(MeasurementTable& table, std::string_view bytes);

// --- ".CSV": six header lines, then one line per record; lines end in CR LF.

// The moment written into the first line: the present clock date and time
// of the zone (hours east of UT).
DateTimeRec csvStampNow(float zoneHours);
std::vector<std::string> csvHeaderLines(const DateTimeRec& stamp);
// The Julian date with 5 decimals, then for each moon "," and its field:
// empty when not measured (>= 100), else the offset with 2 decimals; a value
// removed from the analysis gets a "*" and is right-aligned in 10 characters.
std::string csvRecordLine(const MeasurementRec& r);
std::string encodeCsv(MeasurementTable& table, const DateTimeRec& stamp);
// Reads one record line: five fields (Julian date, Io .. Callisto), a "*"
// marking a value removed; a missing or unreadable number is NoMeasurement.
// Later fields are ignored. Adds to *dropped the offsets that held text but
// no value a table can hold (an unreadable number, one beyond MaxOffset).
// A Julian date that is missing, unreadable or no calendar's becomes 0 and
// sets *undated: the record is then to be left out whole (its offsets are
// not counted).
MeasurementRec parseCsvRecordLine(std::string_view line, std::size_t* dropped = nullptr,
                                  bool* undated = nullptr);
// Skips the lines up to and including the first containing "Julian Date"
// (none: nothing is read), then inserts a record for every non-empty line
// whose date is readable. The text may be UTF-8 or Windows-1252. Sets
// MeasurementsChanged; returns the number of records inserted and adds the
// values left out to *dropped, the records left out to *droppedRecords.
std::size_t loadCsvText(MeasurementTable& table, std::string_view bytes,
                        std::size_t* dropped = nullptr, std::size_t* droppedRecords = nullptr);

// --- Files.

struct MeasurementLoadResult {
    int32_t ioCode = 0; // 0, or the file error code (nothing was inserted)
    std::size_t records = 0;
    std::size_t dropped = 0;        // values left out
    std::size_t droppedRecords = 0; // records left out whole
    bool cutShort = false;          // a ".DAT" ends with an incomplete record
};
// IOFileTooLarge for a file of more than fileio::kMaxFileBytes bytes, which is
// never read (not even in part), else 0.
int32_t measurementFileSizeCode(std::uint64_t byteCount);
// The whole file's bytes into an empty table, in the format: the desktop's
// file loader and the browser's upload share it. A file over
// fileio::kMaxFileBytes gives IOFileTooLarge and reads nothing.
MeasurementLoadResult loadMeasurementBytes(MeasurementTable& table, std::string_view bytes,
                                           MeasurementFormat format);
// Reads the whole file first, so that a fault inserts nothing. The Invalid
// format reads nothing.
MeasurementLoadResult loadMeasurementFile(MeasurementTable& table, const std::string& path,
                                          MeasurementFormat format);

struct MeasurementSaveResult {
    int32_t ioCode = 0;  // 0 when every byte is in place
    bool opened = false; // false: the file could not be created at all
};
// Writes the whole file beside the old one and replaces it only when
// complete: a failed save leaves the old file as it was, and a file the user
// may not write is not replaced. stamp is used by ".CSV" only; the Invalid
// format writes nothing and gives IOInvalidNumber.
MeasurementSaveResult saveMeasurementFile(MeasurementTable& table, const std::string& path,
                                          MeasurementFormat format, const DateTimeRec& stamp);
