// SPDX-License-Identifier: GPL-3.0-or-later
// The core as the browser edition's page sees it (web/src/core.d.ts): plain
// JavaScript values in and out, texts in UTF-8, file bytes as Uint8Array.
// Nothing here decides anything the core does not: each function converts
// its arguments, calls the core and converts the result.
#include "common/Codecs.h"
#include "common/FileErrors.h"
#include "common/FileIO.h"
#include "common/Reporter.h"
#include "ephemeris/DateTime.h"
#include "ephemeris/Galilean.h"
#include "ephemeris/Outer_Planets.h"
#include "lab/EyepieceGeometry.h"
#include "lab/Features.h"
#include "lab/HotListFile.h"
#include "lab/LoginRules.h"
#include "lab/MeasurementDesk.h"
#include "lab/ObservationClock.h"
#include "lab/OptionsRecord.h"
#include "lab/PageHeaderText.h"
#include "lab/Reminder.h"
#include "lab/TextListRules.h"
#include "lab/Version.h"
#include "lab/WebOptions.h"

#include "BindingInstant.h"
#include "BindingSupport.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using emscripten::val;
using namespace qvbind;

namespace {

// Four texts from a JavaScript array (missing ones are empty).
std::array<std::string, 4> boxTexts(const val& boxes) {
    std::array<std::string, 4> out;
    const unsigned n = boxes["length"].as<unsigned>();
    for (unsigned i = 0; i < 4 && i < n; ++i)
        out[i] = boxes[i].as<std::string>();
    return out;
}

std::array<std::string, 4> pendingBoxTexts(const MeasurementRec& r) {
    std::array<std::string, 4> out;
    for (int m = 1; m <= kMoonCount; ++m)
        out[std::size_t(m - 1)] = EntryBoxText(r.Offset[m], r.Included[m]);
    return out;
}

val boxesVal(const MeasurementRec& r) {
    const auto texts = pendingBoxTexts(r);
    return stringArray(std::vector<std::string>(texts.begin(), texts.end()));
}

val dateLabelsVal(long double julianDate) {
    const EntryDateLabels l = EntryDateLabelTexts(julianDate);
    val o = val::object();
    o.set("julianDay", l.julianDay);
    o.set("dateTime", l.dateTime);
    return o;
}

val entryVal(const EntryOutcome& e) {
    val o = val::object();
    o.set("failedMoon", e.failedMoon);
    o.set("message", optionalMessage(e.message));
    return o;
}

val recordVal(const MeasurementRec& r) {
    val o = val::object();
    o.set("julianDate", double(r.JulianDate));
    val offsets = val::array(), included = val::array();
    for (int m = 1; m <= kMoonCount; ++m) {
        offsets.call<void>("push", double(r.Offset[m]));
        included.call<void>("push", bool(r.Included[m]));
    }
    o.set("offsets", offsets);
    o.set("included", included);
    return o;
}

FeatureFlags featuresOf(const val& f) {
    FeatureFlags flags;
    flags.AnimationFeature = f["animation"].as<bool>();
    flags.IDColorsFeature = f["idColors"].as<bool>();
    flags.TopViewFeature = f["topView"].as<bool>();
    flags.StopOnEclipseFeature = f["stopOnEclipse"].as<bool>();
    flags.ShowEclipsedFeature = f["showEclipsed"].as<bool>();
    return flags;
}

int clampMag(int magIndex) {
    return std::clamp(magIndex, 0, kMagnifications - 1);
}

ViewGeometry viewAt(int magIndex) {
    ViewGeometry g;
    g.MagIndex = clampMag(magIndex);
    return g;
}

val pixelsVal(const MoonPixelTable& pixels) {
    val out = val::array();
    for (int m = 1; m <= kMoonCount; ++m) {
        val p = val::object();
        p.set("x", pixels[m].x);
        p.set("y", pixels[m].y);
        p.set("shadowX", pixels[m].shadowX);
        p.set("shadowY", pixels[m].shadowY);
        out.call<void>("push", p);
    }
    return out;
}

MoonPixelTable pixelsOf(const val& v) {
    MoonPixelTable pixels;
    const unsigned n = v["length"].as<unsigned>();
    for (int m = 1; m <= kMoonCount && unsigned(m) <= n; ++m) {
        const val p = v[m - 1];
        pixels[m].x = p["x"].as<int>();
        pixels[m].y = p["y"].as<int>();
        pixels[m].shadowX = p["shadowX"].as<int>();
        pixels[m].shadowY = p["shadowY"].as<int>();
    }
    return pixels;
}

std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

void advanceHours(Instant& i, double hours) {
    AdvanceInstant(i.r, hoursOf(hours));
}

// --- The sky and the view --------------------------------------------------------------

void init(const std::string& leapSeconds, const std::string& outerPlanets) {
    setReporter(&queueReporter());
    auto write = [](const char* path, const std::string& bytes) {
        if (FILE* f = std::fopen(path, "wb")) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
    };
    write("/Leap Seconds.txt", leapSeconds);
    write("/Outer_Pl_Tbl.dat", outerPlanets);
    SetLeapSecondFile("/Leap Seconds.txt");
    ResetLeapSecondTable();
    SetOuterPlanetFile("/Outer_Pl_Tbl.dat");
}

val computeSatellites(const Instant& i) {
    ComputeSatellites(TTFromUT(i.jd()));
    val moons = val::array();
    for (int m = 1; m <= kMoonCount; ++m) {
        const SatelliteState& s = SatelliteStates[m];
        val o = val::object();
        o.set("earthX", double(s.EarthX));
        o.set("earthY", double(s.EarthY));
        o.set("earthZ", double(s.EarthZ));
        o.set("sunX", double(s.SunX));
        o.set("sunY", double(s.SunY));
        o.set("sunZ", double(s.SunZ));
        o.set("occulted", s.Occulted);
        o.set("eclipsed", s.Eclipsed);
        o.set("shadowTransit", s.ShadowTransit);
        moons.call<void>("push", o);
    }
    val out = val::object();
    out.set("moons", moons);
    out.set("earthJupiterDistanceAu", double(EarthJupiterDistanceAu));
    return out;
}

val eyepiece(const Instant& i, int magIndex, const val& features, float redSpotLongitude) {
    const ViewGeometry g = viewAt(magIndex);
    const FeatureFlags f = featuresOf(features);
    const MoonPixelTable pixels = MoonPixels(SatelliteStates, g);
    const EyepieceMarks marks = EyepieceMarksFor(SatelliteStates, pixels, g.MagIndex,
                                                 f.IDColorsFeature, f.ShowEclipsedFeature);
    val rects = val::array();
    for (const FillRect& r : marks.rects) {
        val o = val::object();
        o.set("x", r.x);
        o.set("y", r.y);
        o.set("w", r.w);
        o.set("h", r.h);
        o.set("r", r.colour.r);
        o.set("g", r.colour.g);
        o.set("b", r.colour.b);
        rects.call<void>("push", o);
    }
    val seen = val::array();
    for (int m = 1; m <= kMoonCount; ++m)
        seen.call<void>("push", bool(marks.eclipseSeen[m]));
    val out = val::object();
    out.set("magIndex", g.MagIndex);
    out.set("pictureNumber", RotationImageNumberAt(i.jd(), redSpotLongitude));
    out.set("magnificationText", MagnificationText(g.MagIndex));
    out.set("pixels", pixelsVal(pixels));
    out.set("marks", rects);
    out.set("eclipseSeen", seen);
    out.set("eclipseStopMoon", f.StopOnEclipseFeature ? EclipseStopMoon(marks.eclipseSeen) : 0);
    out.set("dateLabel", DateLabelText(i.r));
    out.set("utLabel", UTLabelText(i.r));
    out.set("jdLabel", JDLabelText(i.r));
    return out;
}

int rotationImageNumberAt(const Instant& i, float redSpotLongitude) {
    return RotationImageNumberAt(i.jd(), redSpotLongitude);
}

val eclipseStopMessage(int moon) {
    return messageVal(EclipseStopMessage(moon));
}

int identifyMoon(const val& pixels, int x, int y, int magIndex) {
    return IdentifyMoon(pixelsOf(pixels), x, y, clampMag(magIndex));
}

float cursorReading(int x, int magIndex) {
    return CursorReading(x, viewAt(magIndex));
}

val evaluatePoint(const val& pixels, int x, int y, int magIndex, bool identify, bool showDistance) {
    const ViewGeometry g = viewAt(magIndex);
    const int moon = IdentifyMoon(pixelsOf(pixels), x, y, g.MagIndex);
    const float reading = CursorReading(x, g);
    const std::string cursor = CursorText(x, y);
    const std::string id = identify ? MoonIdText(moon) : std::string();
    const std::string readingText = showDistance ? ReadingText(reading, x - g.CentreX) : "";
    // What the read-outs say, in the order a screen reader hears them.
    std::string said;
    for (const std::string& s : {cursor, readingText, id}) {
        const std::string t = trimmed(s);
        if (t.empty()) continue;
        if (!said.empty()) said += "; ";
        said += t;
    }
    val o = val::object();
    o.set("moon", moon);
    o.set("reading", reading);
    o.set("cursorText", cursor);
    o.set("moonIdText", id);
    o.set("readingText", readingText);
    o.set("description", said);
    return o;
}

std::string intervalLabelText(double hours) {
    return IntervalLabelText(hoursOf(hours));
}

std::string animationLabelText(double hours, bool animationFeature) {
    return AnimationLabelText(hoursOf(hours), animationFeature);
}

// --- Options and features ----------------------------------------------------------------

// The session's settings as the page uses them.
val optionsVal(const OptionsRecord& r) {
    val o = val::object();
    o.set("identifyMoon", r.IdentifyMoon);
    o.set("showDistance", r.ShowDistance);
    o.set("autoRecord", r.AutoRecord);
    o.set("allowAnimation", r.AllowAnimation);
    o.set("allowTopView", r.AllowTopView);
    o.set("eclipseVisibility", r.EclipseVisibility);
    o.set("loginRequired", r.LoginRequired);
    o.set("testMode", r.TestMode);
    o.set("editMode", r.EditMode);
    o.set("monochrome", r.Monochrome);
    o.set("dataIntervalHours", double(r.ObsInterval));
    o.set("animationStepHours", double(r.AnimationStep));
    o.set("animationTimerMs", int(r.TimerInterval));
    o.set("redSpotLongitude", double(r.RedSpotLongitude));
    o.set("zoneOffsetHours", double(r.ZoneOffset));
    return o;
}

val optionDefaults() {
    return optionsVal(defaultOptionsRecord());
}

val featureDefaults() {
    const FeatureFlags f{};
    val o = val::object();
    o.set("animation", f.AnimationFeature);
    o.set("idColors", f.IDColorsFeature);
    o.set("topView", f.TopViewFeature);
    o.set("stopOnEclipse", f.StopOnEclipseFeature);
    o.set("showEclipsed", f.ShowEclipsedFeature);
    return o;
}

// --- Log-in and the end ------------------------------------------------------------------

val login(const val& typed) {
    LoginRecord rec;
    const val names = typed["names"];
    std::string* fields[4] = {&rec.StudentName1, &rec.StudentName2, &rec.StudentName3,
                              &rec.StudentName4};
    const unsigned n = names["length"].as<unsigned>();
    for (unsigned i = 0; i < 4 && i < n; ++i)
        *fields[i] = firstUtf16Units(names[i].as<std::string>(), MaxStudentNameChars);
    rec.LabTable = firstUtf16Units(typed["table"].as<std::string>(), MaxLabTableChars);
    val o = val::object();
    if (!rec.StudentName1.empty()) {
        rec.LoginId = LoginIdFor(rec.StudentName1);
        o.set("question", messageVal(LoginCompletedQuestion()));
        o.set("completesWith", std::string("yes"));
    } else {
        setImproperLogin(rec);
        o.set("question", messageVal(NoEntryMessage()));
        o.set("completesWith", std::string("ok"));
    }
    o.set("studentNames",
          stringArray({rec.StudentName1, rec.StudentName2, rec.StudentName3, rec.StudentName4}));
    o.set("labTable", rec.LabTable);
    o.set("loginId", rec.LoginId);
    return o;
}

val reminderMessageFor(const std::string& fileBytes) {
    return messageVal(Message{"** Exercise Finished? **", reminderMessage(fileBytes), MsgIcon::Stop,
                              BtnOk | BtnCancel});
}

// --- The list windows: search and printout ----------------------------------------------

val searchTextLinesVal(const val& lines, int selected, bool fromCursor, const std::string& text,
                       bool caseDependent) {
    const TextSearchOutcome r =
        searchTextLines(stringsOf(lines), selected, fromCursor, text, caseDependent);
    val o = val::object();
    o.set("line", r.line);
    o.set("message", optionalMessage(r.message));
    return o;
}

// The printout's header for the log-in as the page keeps it ({names,
// labTable}) at the local time the page read from its clock; the table
// number of the options is the defaults' (the settings file does not carry it).
val printoutHeader(const val& login, const val& now) {
    const LoginRecord rec = loginRecordOf(login);
    const OptionsRecord options = defaultOptionsRecord();
    const std::string stamp = printoutStampOf(now);
    val lines = val::array();
    for (const PageHeaderLine& l : pageHeaderLines(stamp, &options, rec)) {
        // The lines between are blank.
        while (lines["length"].as<int>() < l.line)
            lines.call<void>("push", std::string());
        lines.call<void>("push", l.text);
    }
    val o = val::object();
    o.set("title", pageHeaderTitle(rec));
    o.set("lines", lines);
    return o;
}

// --- The hotlist -----------------------------------------------------------------------------

val hotListEntries(const std::vector<HotListEntry>& list) {
    val entries = val::array();
    for (const HotListEntry& e : list) {
        val o = val::object();
        o.set("clockValue", e.Instant);
        o.set("comment", e.Comment);
        o.set("line", ObjctDat(e, false));
        o.set("editLine", ObjctDat(e, true));
        entries.call<void>("push", o);
    }
    return entries;
}

val parseHotList(const std::string& bytes) {
    HotListRecords list;
    const HotListLoadResult r = loadHotListBytes(list, bytes);
    const val entries = hotListEntries(list.entries());
    val out = val::object();
    out.set("entries", entries);
    out.set("cutShort", r.cutShort);
    return out;
}

// --- The instructor's settings file ---------------------------------------------------------

val webOptionsVal(const WebOptionsResult& r) {
    static constexpr std::pair<WebOptionsStatus, const char*> kStatus[] = {
        {WebOptionsStatus::Ok, "ok"},
        {WebOptionsStatus::Noted, "noted"},
        {WebOptionsStatus::Invalid, "invalid"}};
    val o = val::object();
    for (const auto& [status, name] : kStatus)
        if (r.status == status) o.set("status", std::string(name));
    o.set("options", optionsVal(r.options));
    o.set("hotList", r.hotlist ? hotListEntries(*r.hotlist) : val::null());
    o.set("message", r.status == WebOptionsStatus::Ok ? val::null() : messageVal(r.message));
    return o;
}

// --- The measurements --------------------------------------------------------------------------

const std::array<std::string, 4>* openBoxes(const val& boxes, std::array<std::string, 4>& keep) {
    if (boxes.isNull() || boxes.isUndefined()) return nullptr;
    keep = boxTexts(boxes);
    return &keep;
}

val deskRecords(MeasurementDesk& d) {
    val out = val::array();
    for (const MeasurementRec& r : d.Table.records())
        out.call<void>("push", recordVal(r));
    return out;
}

val deskRecord(MeasurementDesk& d, const Instant& i, int moon, float reading, bool autoRecord) {
    return optionalMessage(d.Record(i.jd(), moon, reading, autoRecord));
}

val deskAcceptPending(MeasurementDesk& d, const val& boxes) {
    return entryVal(d.AcceptPending(boxTexts(boxes)));
}

val deskBeforeNext(MeasurementDesk& d, const val& boxes) {
    std::array<std::string, 4> keep;
    return entryVal(d.BeforeNext(openBoxes(boxes, keep)));
}

val deskFlush(MeasurementDesk& d, const val& boxes) {
    std::array<std::string, 4> keep;
    return entryVal(d.Flush(openBoxes(boxes, keep)));
}

val deskSaveNameChosen(MeasurementDesk& d, const std::string& name, bool csv) {
    const auto [fileName, error] = d.SaveNameChosen(name, csv);
    val o = val::object();
    o.set("fileName", fileName);
    o.set("error", optionalMessage(error));
    return o;
}

// A size as the browser gives it (a double, up to 2^53) as a count of bytes.
std::uint64_t byteCountOf(double bytes) {
    if (!(bytes > 0)) return 0;
    if (bytes >= 18446744073709551615.0) return UINT64_MAX;
    return std::uint64_t(bytes);
}

val deskLoadFile(MeasurementDesk& d, const std::string& name, const std::string& bytes,
                 bool merging) {
    const MeasurementDesk::LoadOutcome r = d.LoadFile(name, bytes, merging);
    val o = val::object();
    o.set("changed", r.changed);
    o.set("message", messageVal(r.message));
    return o;
}

} // namespace

EMSCRIPTEN_BINDINGS(quorvex_core) {
    using namespace emscripten;

    function("init", &init);
    function("takeMessages", &takeMessages);
    function("programVersion", optional_override([] { return std::string(kProgramVersion); }));
    function("versionText",
             optional_override([] { return std::string("Version ") + kProgramVersion; }));
    function("optionDefaults", &optionDefaults);
    function("featureDefaults", &featureDefaults);

    constant("VIEW_WIDTH", kViewWidth);
    constant("VIEW_HEIGHT", kViewHeight);
    constant("VIEW_CENTRE_X", kViewWidth / 2);
    constant("VIEW_CENTRE_Y", kViewHeight / 2);
    constant("MAGNIFICATIONS", kMagnifications);
    constant("ROTATION_PICTURES", kRotationPictures);
    constant("REVIEW_HEADER_LINE_COUNT", ReviewHeaderLineCount);
    constant("DEMO_LOGIN_ID", std::string("DEMO"));
    constant("DEMO_STUDENT_NAME", std::string("Demonstration"));
    constant("MAX_STUDENT_NAME_CHARS", int(MaxStudentNameChars));
    constant("MAX_LAB_TABLE_CHARS", int(MaxLabTableChars));

    class_<Instant>("Instant")
        .class_function("startOfToday", &Instant::startOfToday)
        .class_function("fromClock", &Instant::fromClock)
        .class_function("fromState", &Instant::fromState)
        .function("clone", &Instant::clone)
        .function("state", &Instant::state)
        .function("julianDate", &Instant::julianDate)
        .function("clockValue", &Instant::clockValue)
        .function("zoneOffsetHours", &Instant::zoneOffsetHours)
        .function("setFromClock", &Instant::setFromClock)
        .function("advanceHours", &advanceHours)
        .function("dateLabel", &Instant::dateLabel)
        .function("utLabel", &Instant::utLabel)
        .function("jdLabel", &Instant::jdLabel)
        .function("utDateText", &Instant::utDateText)
        .function("utTimeText", &Instant::utTimeText)
        .function("takeEntry", &Instant::takeEntry);

    function("computeSatellites", &computeSatellites);
    function("eyepiece", &eyepiece);
    function("rotationImageNumberAt", &rotationImageNumberAt);
    function("eclipseStopMessage", &eclipseStopMessage);
    function("identifyMoon", &identifyMoon);
    function("cursorReading", &cursorReading);
    function("evaluatePoint", &evaluatePoint);
    function("magnificationText", optional_override([](int m) { return MagnificationText(m); }));
    function("cursorText", optional_override([](int x, int y) { return CursorText(x, y); }));
    function("moonIdText", optional_override([](int moon) { return MoonIdText(moon); }));
    function("readingText", optional_override([](float r, int dx) { return ReadingText(r, dx); }));
    function("intervalLabelText", &intervalLabelText);
    function("animationLabelText", &animationLabelText);

    function("entryBoxText",
             optional_override([](float offset, bool inc) { return EntryBoxText(offset, inc); }));
    function("invalidEntryMessage",
             optional_override([](int moon) { return messageVal(InvalidEntryMessage(moon)); }));

    function("login", &login);
    function("improperLogin", optional_override([] {
                 LoginRecord rec;
                 setImproperLogin(rec);
                 val o = val::object();
                 o.set("studentName1", rec.StudentName1);
                 o.set("loginId", rec.LoginId);
                 return o;
             }));
    function("loginIdFor", optional_override([](const std::string& n) { return LoginIdFor(n); }));
    function("dataWillBeLostQuestion",
             optional_override([] { return messageVal(DataWillBeLostQuestion()); }));
    function("exerciseFinishedQuestion",
             optional_override([] { return messageVal(ExerciseFinishedQuestion()); }));
    function("reminderMessage", &reminderMessageFor);

    function("searchTextLines", &searchTextLinesVal);
    function("printoutHeader", &printoutHeader);
    constant("MAX_FILE_BYTES", double(fileio::kMaxFileBytes));

    function("parseWebOptions", optional_override([](const std::string& bytes) {
                 return webOptionsVal(parseWebOptions(bytes));
             }));
    function("webOptionsFetchFault", optional_override([](int httpStatus) {
                 return webOptionsVal(webOptionsFetchFault(httpStatus));
             }));
    constant("WEB_OPTIONS_FILE_NAME", std::string(kWebOptionsFileName));
    constant("WEB_OPTIONS_MAX_BYTES", double(kWebOptionsMaxBytes));

    function("parseHotList", &parseHotList);
    function("hotListEmptyMessage",
             optional_override([] { return messageVal(HotListEmptyMessage()); }));
    function("hotListNoSelectionMessage",
             optional_override([] { return messageVal(HotListChooseNoSelectionMessage()); }));

    class_<MeasurementDesk>("MeasurementDesk")
        .constructor<>()
        .function("recordCount",
                  optional_override([](MeasurementDesk& d) { return int(d.Table.Count()); }))
        .function("records", &deskRecords)
        .function("reviewListLines", optional_override([](MeasurementDesk& d) {
                      return stringArray(ReviewListLines(d.Table));
                  }))
        .function("tableMenus", optional_override([](MeasurementDesk& d) { return d.TableMenus; }))
        .function("dataSaved", optional_override([](MeasurementDesk& d) { return d.DataSaved; }))
        .function("record", &deskRecord)
        .function("pendingBoxTexts",
                  optional_override([](MeasurementDesk& d) { return boxesVal(d.PendingRecord); }))
        .function("pendingDateLabels", optional_override([](MeasurementDesk& d) {
                      return dateLabelsVal(d.PendingRecord.JulianDate);
                  }))
        .function("acceptPending", &deskAcceptPending)
        .function("holdsUnstoredValue",
                  optional_override([](MeasurementDesk& d) { return d.HoldsUnstoredValue(); }))
        .function("pendingStored",
                  optional_override([](MeasurementDesk& d) { return d.PendingStored; }))
        .function("storePending",
                  optional_override([](MeasurementDesk& d) { return d.StorePending(); }))
        .function("beforeNext", &deskBeforeNext)
        .function("flush", &deskFlush)
        .function("selectionMessage", optional_override([](MeasurementDesk& d, int index) {
                      return optionalMessage(d.SelectionMessage(index));
                  }))
        .function("beginEdit", optional_override([](MeasurementDesk& d, int index) {
                      return d.BeginEdit(index);
                  }))
        .function("editBoxTexts",
                  optional_override([](MeasurementDesk& d) { return boxesVal(d.EditedRecord()); }))
        .function("editDateLabels", optional_override([](MeasurementDesk& d) {
                      return dateLabelsVal(d.EditedRecord().JulianDate);
                  }))
        .function("acceptEdit", optional_override([](MeasurementDesk& d, const val& boxes) {
                      return entryVal(d.AcceptEdit(boxTexts(boxes)));
                  }))
        .function("cancelEdit", optional_override([](MeasurementDesk& d) { d.CancelEdit(); }))
        .function("lineAfterEdit",
                  optional_override([](MeasurementDesk& d) { return d.LineAfterEdit(); }))
        .function("deleteQuestion", optional_override([](MeasurementDesk&) {
                      return messageVal(VerifyDeletionQuestion());
                  }))
        .function("deleteRecord", optional_override([](MeasurementDesk& d, int index) {
                      return d.DeleteRecord(index);
                  }))
        .function("canUndo", optional_override([](MeasurementDesk& d) { return d.CanUndo(); }))
        .function("undoQuestion", optional_override([](MeasurementDesk&) {
                      return messageVal(UndoEditDeleteQuestion());
                  }))
        .function("undo", optional_override([](MeasurementDesk& d) { return d.Undo(); }))
        .function("nothingToSave", optional_override([](MeasurementDesk& d) {
                      return optionalMessage(d.NothingToSave());
                  }))
        .function("proposedSaveName",
                  optional_override([](MeasurementDesk& d) { return d.ProposedSaveName(); }))
        .function("saveNameChosen", &deskSaveNameChosen)
        .function("encodeDat", optional_override(
                                   [](MeasurementDesk& d) { return bytesVal(encodeDat(d.Table)); }))
        .function("encodeCsv", optional_override([](MeasurementDesk& d, float zoneHours) {
                      return bytesVal(encodeCsv(d.Table, csvStampNow(zoneHours)));
                  }))
        .function("markSaved", optional_override([](MeasurementDesk& d, const std::string& n) {
                      d.MarkSaved(n);
                  }))
        .function("loadExtensionError",
                  optional_override([](MeasurementDesk&, const std::string& n) {
                      return optionalMessage(loadExtensionError(n));
                  }))
        .function("mergeQuestion", optional_override([](MeasurementDesk& d) {
                      return optionalMessage(d.MergeQuestion());
                  }))
        .function("dataNotSavedQuestion", optional_override([](MeasurementDesk& d, bool merging) {
                      return optionalMessage(d.DataNotSavedQuestion(merging));
                  }))
        .function("loadFile", &deskLoadFile)
        .function("loadSizeError",
                  optional_override([](MeasurementDesk& d, const std::string& n, double bytes) {
                      return optionalMessage(d.LoadSizeError(n, byteCountOf(bytes)));
                  }))
        .function("loadReadError", optional_override([](MeasurementDesk& d, const std::string& n,
                                                        const std::string& errorName) {
                      return messageVal(d.LoadFault(n, ioCodeFromDomError(errorName)));
                  }))
        .function("state",
                  optional_override([](MeasurementDesk& d) { return bytesVal(d.State()); }))
        .function("restore", optional_override([](MeasurementDesk& d, const std::string& bytes) {
                      return d.Restore(bytes);
                  }));
}
