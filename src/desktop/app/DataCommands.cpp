// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DataCommands.h"

#include "app/ResultsDlg.h"
#include "lab/MeasurementDesk.h"
#include "lab/OptionsRecord.h"
#include "lab/Session.h"
#include "platform/Desktop.h"

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

MsgResult show(const Message& m) {
    return desktop().message(m);
}

} // namespace

bool SaveMeasurements(DataCommandContext& c, MeasurementFormat format) {
    Session& s = c.session;
    // The pending record first; nothing to save is said so.
    c.entry.Flush();
    if (c.entry.Table.IsEmpty()) {
        show(nothingToSaveMessage());
        s.DataSaved = true;
        return true;
    }
    // The file.
    const bool dat = format == MeasurementFormat::Dat;
    FileChoice choice;
    choice.caption = QStringLiteral("Save Measurements");
    choice.folder = q(c.options.UserDataDir);
    // A choice that failed (a folder that cannot be written, a device) is not
    // proposed again: the last file saved is, or the default name.
    const bool lastFailed = !s.LastDataFile.empty() && s.LastDataFile != s.SavedDataFile;
    choice.fileName = q(proposedSaveName(lastFailed ? s.SavedDataFile : s.LastDataFile));
    choice.filter = QString::fromUtf8(dat ? DatSaveFilter : CsvSaveFilter);
    choice.defaultSuffix = QString::fromUtf8(dat ? DatExtension : CsvExtension).mid(1);
    const QString chosen = desktop().chooseSaveFile(choice);
    // Cancelled, or a name of another format.
    if (chosen.isEmpty()) return s.DataSaved;
    s.LastDataFile = chosen.toStdString();
    if (const auto error = saveExtensionError(s.LastDataFile, format)) {
        show(*error);
        return s.DataSaved;
    }
    // Written whole, or not at all.
    const MeasurementSaveResult r = saveMeasurementFile(c.entry.Table, s.LastDataFile, format,
                                                        csvStampNow(c.options.ZoneOffset));
    if (!r.opened) {
        show(saveOpenFailedMessage(s.LastDataFile));
        s.DataSaved = false;
        return false;
    }
    if (r.ioCode != 0) {
        show(fileFaultMessage(s.LastDataFile, r.ioCode));
        s.DataSaved = false;
        return false;
    }
    s.DataSaved = true;
    s.SavedDataFile = s.LastDataFile;
    return true;
}

void LoadMeasurements(DataCommandContext& c) {
    Session& s = c.session;
    // The file, in the format of the last name chosen.
    const bool csv = openDialogPrefersCsv(s.LoadFileName);
    FileChoice choice;
    choice.caption = QStringLiteral("Load Measurements");
    choice.folder = q(c.options.UserDataDir);
    choice.filter = QString::fromUtf8(DatLoadFilter) + ";;" + CsvLoadFilter;
    choice.selectedFilter = QString::fromUtf8(csv ? CsvLoadFilter : DatLoadFilter);
    choice.defaultSuffix = QString::fromUtf8(csv ? CsvExtension : DatExtension).mid(1);
    const QString chosen = desktop().chooseOpenFile(choice);
    // Cancelled, or neither format.
    if (chosen.isEmpty()) return;
    s.LoadFileName = chosen.toStdString();
    if (const auto error = loadExtensionError(s.LoadFileName)) {
        show(*error);
        return;
    }
    MeasurementTable& table = c.entry.Table;
    // Merge, or replace the table once the user agrees.
    bool merging = false;
    if (!table.IsEmpty()) merging = show(mergeQuestion()) == MsgResult::Yes;
    if (!merging && !s.DataSaved && show(dataNotSavedQuestion()) != MsgResult::Yes) return;
    // The file is read whole before the table changes, so that a file
    // that cannot be read leaves the table as it was.
    MeasurementTable loaded;
    const MeasurementLoadResult r =
        loadMeasurementFile(loaded, s.LoadFileName, measurementFormatOf(s.LoadFileName));
    if (r.ioCode != 0) {
        show(fileFaultMessage(s.LoadFileName, r.ioCode));
        return;
    }
    // A file without a single record changes nothing, not even a merge.
    if (loaded.IsEmpty()) {
        show(loadedMessage(s.LoadFileName, false, true));
        return;
    }
    TakeLoadedRecords(table, loaded, merging);
    // The table has changed: a replaced one is as saved as its file, a merged
    // one is not; the menus follow it, the user is told, the analysis restarts.
    s.DataSaved = !merging;
    c.setTableMenus(!table.IsEmpty());
    show(loadedMessage(s.LoadFileName, merging, table.IsEmpty(), r.dropped, r.droppedRecords,
                       r.cutShort));
    if (c.resetAnalysis) c.resetAnalysis();
}
