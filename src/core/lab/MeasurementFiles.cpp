// SPDX-License-Identifier: GPL-3.0-or-later
#include "lab/MeasurementFiles.h"

#include "common/Codecs.h"
#include "common/FileErrors.h"
#include "common/FileIO.h"
#include "common/TextLines.h"
#include "ephemeris/StringUt.h"

#include <cmath>
#include <limits>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// One field of a record line: a "*" anywhere marks the value removed; an
// empty or unreadable number is NoMeasurement.
struct CsvField {
    long double value = NoMeasurement;
    bool included = true;
    bool read = false;       // the value is a number from the text
    bool unreadable = false; // text that is no number
};

CsvField readCsvField(std::string_view field) {
    CsvField f;
    if (field.empty()) return f;
    std::string s(field);
    if (const auto star = s.find('*'); star != std::string::npos) {
        s.erase(star, 1);
        f.included = false;
    }
    const std::string_view text = trimmed(s);
    long double v = 0.0L;
    f.read = ParseDecimal(text, v);
    if (f.read)
        f.value = v;
    else
        f.unreadable = !text.empty();
    return f;
}

// A date a table holds: 0 (the record without an instant) or a calendar's.
bool tableDate(long double jd) {
    return jd == 0.0L || IsCalendarJulianDate(jd);
}

// An offset a table holds: a measurement, or NoMeasurement itself.
bool tableOffset(long double v) {
    return std::fabs(v) <= MaxOffset;
}

} // namespace

// --- Names and extensions -------------------------------------------------------------

std::string fileExtension(const std::string& path) {
    const std::string name = fileio::nameOf(path);
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

MeasurementFormat measurementFormatOf(const std::string& path) {
    const std::string ext = UpperCaseAscii(fileExtension(path));
    if (ext == DatExtension) return MeasurementFormat::Dat;
    if (ext == CsvExtension) return MeasurementFormat::Csv;
    return MeasurementFormat::Invalid;
}

std::string proposedSaveName(const std::string& lastDataFile) {
    // Cut at the first "." even when it lies in a folder's name.
    const std::string name = lastDataFile.substr(0, lastDataFile.find('.'));
    return name.empty() ? DefaultSaveName : name;
}

bool openDialogPrefersCsv(const std::string& currentName) {
    return measurementFormatOf(currentName) == MeasurementFormat::Csv;
}

// --- Messages -------------------------------------------------------------------------

Message nothingToSaveMessage() {
    return {"No Results Recorded!", "Nothing to save!", MsgIcon::Warning, BtnOk};
}

std::optional<Message> saveExtensionError(const std::string& path, MeasurementFormat format) {
    if (measurementFormatOf(path) == format) return std::nullopt;
    const std::string must =
        format == MeasurementFormat::Csv ? "Must be .CSV" : "Must be .DAT for binary file";
    return Message{"Cannot Save File!",
                   "File format (" + fileExtension(path) + ") is invalid!  " + must, MsgIcon::Error,
                   BtnOk};
}

std::optional<Message> loadExtensionError(const std::string& path) {
    if (measurementFormatOf(path) != MeasurementFormat::Invalid) return std::nullopt;
    return Message{"Cannot Load File!",
                   "File format (" + fileExtension(path) + ") is invalid!  Must be .DAT or .CSV.",
                   MsgIcon::Error, BtnOk};
}

Message saveOpenFailedMessage(const std::string& path) {
    return {"File Error", "Unable to open " + path + " for output.\nData not saved!",
            MsgIcon::Error, BtnOk};
}

Message mergeQuestion() {
    return {"Merge Data?", "Do you want to merge the file\ndata with your current data?",
            MsgIcon::Question, BtnYes | BtnNo};
}

Message dataNotSavedQuestion() {
    return {"Data Not Saved!",
            "You will lose information if you do not save\n"
            "the current data before loading this file!\n\n"
            "Do you want to continue with this load?",
            MsgIcon::Stop, BtnYes | BtnNo};
}

Message loadedMessage(const std::string& path, bool merged, bool tableEmpty, std::size_t dropped,
                      std::size_t droppedRecords, bool cutShort) {
    if (tableEmpty)
        return {"No Data Loaded", path + " contains no valid data!", MsgIcon::Information, BtnOk};
    std::string text = "Data loaded from " + path + ".";
    if (merged) text += "\n\nMerged with existing data.";
    auto count = [&text](std::size_t n, const char* what) {
        if (n == 1) text += std::string("\n\n1 unreadable ") + what + " was left out.";
        if (n > 1) text += "\n\n" + std::to_string(n) + " unreadable " + what + "s were left out.";
    };
    count(droppedRecords, "record");
    count(dropped, "value");
    if (cutShort) text += "\n\nThe file ends with an incomplete record, which was not loaded.";
    return {"Data Loaded", text, MsgIcon::Information, BtnOk};
}

// --- .DAT -----------------------------------------------------------------------------

std::string encodeDat(MeasurementTable& table) {
    std::string out;
    out.reserve(std::size_t(table.Count()) * MeasurementRecSize);
    for (const MeasurementRec& r : table.records())
        out += encodeMeasurementRec(r);
    return out;
}

DatLoadResult loadDatBytes(MeasurementTable& table, std::string_view bytes) {
    DatLoadResult res;
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    const std::size_t whole = bytes.size() / MeasurementRecSize;
    std::vector<MeasurementRec> read;
    read.reserve(whole);
    for (std::size_t k = 0; k < whole; ++k) {
        const uint8_t* bytesOfRec = p + k * MeasurementRecSize;
        // The bytes first: an invalid pattern is not to be computed with.
        if (!codec::isExtendedNumber(bytesOfRec) || !tableDate(codec::getExtended(bytesOfRec))) {
            ++res.droppedRecords;
            continue;
        }
        MeasurementRec r = decodeMeasurementRec(bytesOfRec);
        for (int m = 1; m <= kMoonCount; ++m) {
            if (tableOffset(r.Offset[m])) continue;
            r.Offset[m] = NoMeasurement;
            ++res.dropped;
        }
        read.push_back(r);
    }
    table.InsertAllAsRead(read);
    res.records = read.size();
    res.cutShort = bytes.size() % MeasurementRecSize != 0;
    table.MeasurementsChanged = true;
    return res;
}

// --- .CSV -----------------------------------------------------------------------------

DateTimeRec csvStampNow(float zoneHours) {
    DateTimeRec d;
    SetToNow(d, zoneHours);
    return d;
}

std::vector<std::string> csvHeaderLines(const DateTimeRec& stamp) {
    return {
        "Jupiter Satellite Measurements - " + NumericDateText(stamp) + " " +
            HourMinuteText(stamp.ClockTime, 0, ":", ""),
        "",
        "Measurement unit is Jupiter diameters.",
        "East is negative (-).",
        "",
        "Julian Date,      Io,  Europa,Ganymede, Callisto",
    };
}

std::string csvRecordLine(const MeasurementRec& r) {
    std::string line = FixedText(r.JulianDate, 5);
    for (int m = 1; m <= kMoonCount; ++m) {
        line += ',';
        // NaN, which no spreadsheet reads, counts as not measured too.
        if (!(r.Offset[m] < NoMeasurement)) continue;
        std::string t = OffsetText(r.Offset[m]);
        if (!r.Included[m]) {
            t += '*';
            if (t.size() < 10) t.insert(0, 10 - t.size(), ' ');
        }
        line += t;
    }
    return line;
}

std::string encodeCsv(MeasurementTable& table, const DateTimeRec& stamp) {
    std::string out;
    for (const std::string& line : csvHeaderLines(stamp))
        out += line + "\r\n";
    for (const MeasurementRec& r : table.records())
        out += csvRecordLine(r) + "\r\n";
    return out;
}

MeasurementRec parseCsvRecordLine(std::string_view line, std::size_t* dropped, bool* undated) {
    MeasurementRec r;
    std::size_t lost = 0;
    bool dated = false;
    for (int k = 0; k <= kMoonCount; ++k) {
        while (!line.empty() && isBlank(line.front()))
            line.remove_prefix(1);
        const auto comma = line.find(',');
        const std::string_view field = line.substr(0, comma);
        line = comma == std::string_view::npos ? std::string_view() : line.substr(comma + 1);
        const CsvField f = readCsvField(field);
        if (k == 0) {
            dated = f.read && tableDate(f.value);
            r.JulianDate = dated ? f.value : 0.0L;
            continue;
        }
        r.Included[k] = f.included;
        if (tableOffset(f.value))
            r.Offset[k] = static_cast<float>(f.value);
        else
            ++lost; // not measured
        lost += f.unreadable;
    }
    if (dropped && dated) *dropped += lost;
    if (undated) *undated = !dated;
    return r;
}

std::size_t loadCsvText(MeasurementTable& table, std::string_view bytes, std::size_t* dropped,
                        std::size_t* droppedRecords) {
    table.MeasurementsChanged = true;
    const std::vector<std::string> lines = splitTextLines(codec::decodeText(bytes));
    std::size_t k = 0;
    while (k < lines.size() && lines[k].find("Julian Date") == std::string::npos)
        ++k;
    std::vector<MeasurementRec> read;
    for (++k; k < lines.size(); ++k) {
        if (lines[k].empty()) continue;
        bool undated = false;
        const MeasurementRec r = parseCsvRecordLine(lines[k], dropped, &undated);
        if (!undated)
            read.push_back(r);
        else if (droppedRecords)
            ++*droppedRecords;
    }
    table.InsertAllAsRead(read);
    return read.size();
}

// --- Files ----------------------------------------------------------------------------

MeasurementLoadResult loadMeasurementFile(MeasurementTable& table, const std::string& path,
                                          MeasurementFormat format) {
    MeasurementLoadResult res;
    if (format == MeasurementFormat::Invalid) return res;
    std::string bytes;
    res.ioCode = fileio::readFile(path, bytes);
    if (res.ioCode != IOOk) return res;
    return loadMeasurementBytes(table, bytes, format);
}

int32_t measurementFileSizeCode(std::uint64_t byteCount) {
    return byteCount > fileio::kMaxFileBytes ? IOFileTooLarge : IOOk;
}

MeasurementLoadResult loadMeasurementBytes(MeasurementTable& table, std::string_view bytes,
                                           MeasurementFormat format) {
    MeasurementLoadResult res;
    if (format == MeasurementFormat::Invalid) return res;
    res.ioCode = measurementFileSizeCode(bytes.size());
    if (res.ioCode != IOOk) return res;
    if (format == MeasurementFormat::Dat) {
        const DatLoadResult dat = loadDatBytes(table, bytes);
        res.records = dat.records;
        res.dropped = dat.dropped;
        res.droppedRecords = dat.droppedRecords;
        res.cutShort = dat.cutShort;
    } else {
        res.records = loadCsvText(table, bytes, &res.dropped, &res.droppedRecords);
    }
    return res;
}

MeasurementSaveResult saveMeasurementFile(MeasurementTable& table, const std::string& path,
                                          MeasurementFormat format, const DateTimeRec& stamp) {
    MeasurementSaveResult res;
    if (format == MeasurementFormat::Invalid) {
        res.ioCode = IOInvalidNumber;
        return res;
    }
    const std::string bytes =
        format == MeasurementFormat::Dat ? encodeDat(table) : encodeCsv(table, stamp);
    res.ioCode = fileio::writeFileReplacing(path, bytes, &res.opened);
    return res;
}
