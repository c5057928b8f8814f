// SPDX-License-Identifier: GPL-3.0-or-later
// The engine of the exercise compiled to WebAssembly (quorvex-core.mjs and
// quorvex-core.wasm, made from web/bindings/*.cpp): what the page may call.
// The page draws and forwards events; every rule, text, number and file byte
// comes from here.
//
// Conventions:
// - Moons are numbered 1 Io, 2 Europa, 3 Ganymede, 4 Callisto. Arrays "per
//   moon" have four elements, index 0 for Io.
// - Magnification indexes are 0..3 for 100X..400X.
// - View pixels: the telescope view is VIEW_WIDTH x VIEW_HEIGHT (628 x 326),
//   x to the right (west), y down (north).
// - Instants are kept inside the engine in 80-bit precision (Instant); the
//   numbers handed out (julianDate, clockValue) are for storage and display
//   only and never go back into arithmetic except through the functions here.
// - Objects of classes (Instant, MeasurementDesk) live in the module's
//   memory: call delete() when done with one. The page normally keeps one of
//   each for the whole run.
// - Nothing here blocks or asks a question: where the engine itself has
//   something to say (a data file it cannot read, a date the planet table does
//   not cover) it queues a Message, OK only, for the page to show; drain the
//   queue with takeMessages() after each call that computes.
//
// Changes:
// - Module: parseWebOptions (the instructor's settings file) and
//   webOptionsFetchFault (one the server would not give), WEB_OPTIONS_FILE_NAME
//   and WEB_OPTIONS_MAX_BYTES added. OptionDefaults is now SessionOptions and
//   also carries testMode and monochrome.
// - Module: searchTextLines (the list windows' "Search..."), printoutHeader
//   (a printout's title and header lines), MAX_FILE_BYTES added.
// - MeasurementDesk: loadSizeError (a file too large, refused before it is
//   read) and loadReadError (a file the browser could not read) added.
// - MeasurementDesk: flush/beforeNext return EntryResult; the review list's
//   edit is beginEdit/acceptEdit/cancelEdit; saveNameChosen replaces
//   saveExtensionError; REVIEW_HEADER_LINE_COUNT moved to the module.
// - Module: login() returns the record as it stands once the question is
//   answered; dataWillBeLostQuestion, exerciseFinishedQuestion,
//   reminderMessage, DEMO_STUDENT_NAME added.
// - Instant.state() / Instant.fromState(bytes) added.

export type MsgIcon = 'none' | 'information' | 'warning' | 'error' | 'question' | 'stop';
export type MsgButton = 'ok' | 'cancel' | 'yes' | 'no' | 'abort' | 'retry' | 'ignore';

/** A message box: caption, text ("\n" separates lines), icon and buttons in the desktop's order. */
export interface CoreMessage {
    caption: string;
    text: string;
    icon: MsgIcon;
    buttons: MsgButton[];
}

/**
 * The session's options: those of the settings file, or the options file's
 * defaults (optionDefaults) as a fresh installation has them.
 */
export interface SessionOptions {
    identifyMoon: boolean; // show the moon's name under the crosshair
    showDistance: boolean; // show the reading
    autoRecord: boolean; // "Record" puts the reading into the moon's box
    allowAnimation: boolean; // the Animation feature may be switched on
    allowTopView: boolean;
    eclipseVisibility: boolean; // the two eclipse features may be switched on
    loginRequired: boolean; // false: demonstration mode, no log-in
    testMode: boolean; // the instructor's options stay open (the analysis may use it too)
    editMode: boolean; // the date/time form shows the hotlist comment
    monochrome: boolean; // the analysis draws without colours
    dataIntervalHours: number; // the step of "Next"
    animationStepHours: number; // one animation tick
    animationTimerMs: number; // the animation timer's period
    redSpotLongitude: number; // System II, degrees
    zoneOffsetHours: number; // UT minus local time
}

/** What the settings file came to. */
export interface WebOptions {
    /** 'noted': members the program does not know were passed over; 'invalid': nothing applied. */
    status: 'ok' | 'noted' | 'invalid';
    options: SessionOptions; // the defaults with the file's settings (the defaults alone when invalid)
    /** The file's "HotList" on the clock of options.zoneOffsetHours, in order of instant; null: keep the site's own list. */
    hotList: HotListEntry[] | null;
    /** For 'noted' and 'invalid': "Unknown Options!" or "File Error" (with line and column of a damaged file). */
    message: CoreMessage | null;
}

/** The observation's features (the features dialog); all off when a run starts. */
export interface FeatureFlags {
    animation: boolean; // "Animation"
    idColors: boolean; // "Use ID Colors"
    topView: boolean; // "Show Top View"
    stopOnEclipse: boolean; // "Stop Animation on Eclipse"
    showEclipsed: boolean; // "Show Eclipsed Moon"
}

/** One moon as computeSatellites leaves it (Jupiter radii; west and north positive). */
export interface SatelliteState {
    earthX: number;
    earthY: number;
    earthZ: number;
    sunX: number;
    sunY: number;
    sunZ: number;
    occulted: boolean; // behind the disc seen from the Earth
    eclipsed: boolean; // in Jupiter's shadow
    shadowTransit: boolean; // its shadow lies on the disc
}

export interface Satellites {
    moons: SatelliteState[]; // per moon
    earthJupiterDistanceAu: number;
}

/** A moon's view pixel and its shadow's. */
export interface MoonPixel {
    x: number;
    y: number;
    shadowX: number;
    shadowY: number;
}

/** A rectangle of view pixels to fill with one colour (8 bits a channel). */
export interface FillRect {
    x: number;
    y: number;
    w: number;
    h: number;
    r: number;
    g: number;
    b: number;
}

/**
 * One drawing of the eyepiece. The page draws, in this order: the black
 * field; rotation picture `pictureNumber` at magnification index `magIndex`
 * from the atlas; `magnificationText` (bold 13 px sans-serif, black on white,
 * top-left at (10, 10)); then every rect of `marks` in order (dots, shadows,
 * eclipse plusses, already clipped to the view).
 */
export interface EyepieceFrame {
    magIndex: number;
    pictureNumber: number; // 1..573
    magnificationText: string; // " 100x "
    pixels: MoonPixel[]; // per moon; keep them for identifyMoon
    marks: FillRect[];
    eclipseSeen: boolean[]; // per moon: drawn as eclipsed
    /** The moon whose eclipse stops the animation (with "Stop Animation on Eclipse"), or 0. */
    eclipseStopMoon: number;
    dateLabel: string; // "January 5, 2008"
    utLabel: string; // "UT: 14 Hrs, 05 Min, 09 Sec"
    jdLabel: string; // "Jul. Day: 2454470.58691"
}

/** What the read-outs say for a placement of the crosshair at (x, y). */
export interface CursorEvaluation {
    moon: number; // 0..4: identified moon, 0 for none
    reading: number; // Jupiter diameters, east negative (a 32-bit real)
    cursorText: string; // "X: 314, Y: 163"
    moonIdText: string; // "III. Ganymede"; "" when identification is off or no moon
    readingText: string; // "X = 1.00E (Jup. Diam.)    "; "" when the reading is hidden
    /** The read-outs joined with "; " for a screen reader, as the view's description. */
    description: string;
}

/** A measurement record as the page may show or store it. */
export interface MeasurementRecord {
    julianDate: number; // UT (double: display and keys only)
    offsets: number[]; // per moon; 100 = not measured
    included: boolean[]; // per moon; false: removed from the analysis ("*")
}

export interface EntryDateLabels {
    julianDay: string; // "Julian Day: 2454533.39583"
    dateTime: string; // "03-07-2008  21Hr 30Min 00Sec"
}

/** The result of the entry form's OK. */
export interface EntryResult {
    failedMoon: number; // 0, or the moon whose box could not be read
    message: CoreMessage | null; // "Invalid Data!" for failedMoon
}

/** What a search of a list's lines came to. */
export interface TextSearchResult {
    line: number; // the line to select, or -1
    message: CoreMessage | null; // "String Not Found" when line is -1
}

/** The local date and time as the page's clock reads it (month 1..12). */
export interface LocalDateTime {
    year: number;
    month: number;
    day: number;
    hour: number;
    minute: number;
    second: number;
}

/** The head of a printout of a list window. */
export interface PrintoutHeader {
    /** The print job's title: 'ORVA Exercise "Quorvex" - ' and the first student's name. */
    title: string;
    /**
     * From the top of the page, "" for a blank line: "MM-DD-YYYY hh:mm:ss
     * Quorvex", the table number line when one is known, the students' names.
     * The page prints below it a blank line, the window's caption, a blank
     * line and the list's lines, caption and lines indented a little more
     * than the width of 12 blanks; Courier-like, 10 points.
     */
    lines: string[];
}

export interface LoadResult {
    /** Whether the table changed (false: nothing read, or a file without records). */
    changed: boolean;
    message: CoreMessage; // "Data Loaded" / "No Data Loaded"
}

export interface HotListEntry {
    clockValue: number; // date-time count of the clock (UT minus the zone offset)
    comment: string;
    line: string; // the list line: "YYYY/MM/DD HH:MM:SS"
    editLine: string; // the Edit Mode line, with the comment
}

export interface HotList {
    entries: HotListEntry[]; // in order of instant
    cutShort: boolean; // the file ended with an incomplete entry
}

export interface LoginTyped {
    names: string[]; // the four student name boxes as typed
    table: string; // the table number box as typed
}

/**
 * The log-in form's OK. Ask `question`; the answer `completesWith` completes
 * the log-in with the record below (the data are kept under `loginId`); any
 * other answer leaves the form open as it is.
 */
export interface LoginOutcome {
    studentNames: string[]; // as stored: each cut to 40 UTF-16 units; without a first
    // name the first is "*** Student Did Not Log In Properly ***"
    labTable: string; // cut to 4
    loginId: string; // LoginIdFor(first name), or "NOLOG" without one
    question: CoreMessage; // "Login Completed?" (Yes/No) or "No Entry!" (OK/Cancel)
    completesWith: MsgButton; // 'yes' or 'ok'
}

/** The observation instant (a DateTimeRec with its zone offset). */
export interface Instant {
    clone(): Instant;
    delete(): void;
    /** Every field as bytes, to keep in IndexedDB; Instant.fromState brings it back exactly. */
    state(): Uint8Array;
    /** Julian date (UT), for display and storage keys only. */
    julianDate(): number;
    /** The clock's date-time count (days since 1899-12-30 00:00), exact. */
    clockValue(): number;
    zoneOffsetHours(): number;
    /** Sets the clock from a date-time count (a hotlist entry, a stored instant). */
    setFromClock(clockValue: number): void;
    /**
     * One step of "Next" (the data interval) or of the animation, in hours
     * (taken as the decimal the number shows: 0.1 is the desktop's 0.1).
     */
    advanceHours(hours: number): void;
    dateLabel(): string; // "January 5, 2008"
    utLabel(): string; // "UT: 14 Hrs, 05 Min, 09 Sec"
    jdLabel(): string; // "Jul. Day: 2454470.58691"
    /** The date/time form's boxes: UT date "YYYY/MM/DD" and UT time "HH:MM:SS". */
    utDateText(): string;
    utTimeText(): string;
    /**
     * The date/time form's OK: reads "<date> <time>" as UT and sets the clock;
     * on a bad text returns "'<text>' is not a valid date and time" under
     * `caption` ("Set Date/Time") and leaves the instant unchanged.
     */
    takeEntry(dateText: string, timeText: string, caption: string): CoreMessage | null;
}

export interface InstantConstructor {
    /** 0h UT of the present UT date, the clock running zoneOffsetHours behind UT. */
    startOfToday(zoneOffsetHours: number): Instant;
    /** An instant from state(); null for bytes that are no instant. */
    fromState(bytes: Uint8Array): Instant | null;
    /** An instant at a clock date-time count. */
    fromClock(clockValue: number, zoneOffsetHours: number): Instant;
}

/**
 * The group's measurements: the table in order of Julian date, the pending
 * record of the entry form, the saved state and the review list's undo.
 * Every method that changes something sets `dataSaved` false as the desktop
 * does; save `state()` to IndexedDB after each change.
 */
export interface MeasurementDesk {
    delete(): void;

    // --- The table.
    recordCount(): number;
    records(): MeasurementRecord[];
    /** The review list: REVIEW_HEADER_LINE_COUNT header lines, then one line per record in table order. */
    reviewListLines(): string[];
    /** "Review", "Save" and "Analyze" stay usable (a record was stored or loaded). */
    tableMenus(): boolean;
    /** The table is as it was last saved or loaded (nothing to lose). */
    dataSaved(): boolean;

    // --- Recording ("Record", the entry form, "Next").
    /**
     * "Record" for a placement made at `instant`: a new instant stores the
     * pending record and starts a new one; with autoRecord the reading goes
     * into `moon`'s box, or "Try Again!" is returned when no moon was
     * identified (the form then stays as it is). null: open the entry form,
     * or fill it again from pendingBoxTexts() when it is open.
     */
    record(instant: Instant, moon: number, reading: number, autoRecord: boolean): CoreMessage | null;
    /** The entry form's four boxes for the pending record ("2.50W", "1.25E*", ""). */
    pendingBoxTexts(): string[];
    pendingDateLabels(): EntryDateLabels;
    /**
     * The entry form's OK for the pending record (boxes per moon). With
     * failedMoon 0 the form closes; otherwise show the message and put the
     * focus on that moon's box (the form stays open).
     */
    acceptPending(boxes: string[]): EntryResult;
    /** Whether the pending record holds a value the table does not have yet ("Save"/"Review" usable). */
    holdsUnstoredValue(): boolean;
    pendingStored(): boolean;
    /**
     * "Next": the open form's boxes are accepted first (null when the form is
     * closed; a failed box is reported and does not stop the clock), then an
     * unstored pending record is stored. The caller then advances the instant.
     */
    beforeNext(openBoxes: string[] | null): EntryResult;
    /**
     * Before a save, the review list or the analysis: like beforeNext, and a
     * stored pending record starts afresh.
     */
    flush(openBoxes: string[] | null): EntryResult;

    // --- The review list (index 0 is the first record, on line reviewHeaderLineCount).
    /** "Data Not Selected!" for an index that is no record, else null. */
    selectionMessage(index: number): CoreMessage | null;
    /**
     * Starts editing record `index` in the entry form. The recording's
     * pending record is untouched: when the form was open for it, fill it
     * again from pendingBoxTexts() once the edit ends.
     */
    beginEdit(index: number): boolean;
    editBoxTexts(): string[];
    editDateLabels(): EntryDateLabels;
    /** The form's OK while editing: on success the record is replaced (undo keeps the old one) and the edit ends. */
    acceptEdit(boxes: string[]): EntryResult;
    /** The form's Cancel while editing. */
    cancelEdit(): void;
    /** The line to select after an accepted edit (-1 when none). */
    lineAfterEdit(): number;
    /** "Verify Deletion" (OK/Cancel): ask before deleteRecord. */
    deleteQuestion(): CoreMessage;
    /** Deletes record `index`; returns the list line to select afterwards. */
    deleteRecord(index: number): number;
    canUndo(): boolean;
    /** "Undo Edit/Delete?" (OK/Cancel): ask before undo. */
    undoQuestion(): CoreMessage;
    /** Undoes the last edit or deletion; returns the list line to select. */
    undo(): number;

    // --- Files.
    /**
     * Save, after flush(): "Nothing to Save" (the table is empty, and the
     * data count as saved), else null and the page asks for a name.
     */
    nothingToSave(): CoreMessage | null;
    /** The name to propose: the last one chosen (or saved, after a refused one) without extension, or "JupSatData1". */
    proposedSaveName(): string;
    /**
     * The name the student chose: ".DAT"/".CSV" is added when it has no
     * extension; "Cannot Save File!" when the extension does not fit the format.
     */
    saveNameChosen(fileName: string, csv: boolean): { fileName: string; error: CoreMessage | null };
    /** The file's bytes (.DAT: 32-byte records; .CSV: stamped with the present clock time of the zone). */
    encodeDat(): Uint8Array;
    encodeCsv(zoneOffsetHours: number): Uint8Array;
    /** After the download was handed to the browser: the data count as saved under fileName. */
    markSaved(fileName: string): void;
    /** "Cannot Load File!" when the name is neither .DAT nor .CSV. */
    loadExtensionError(fileName: string): CoreMessage | null;
    /** Before a load: non-null when the table holds records; Yes merges, No replaces. */
    mergeQuestion(): CoreMessage | null;
    /** Then, when not merging: non-null when the data are not saved; anything but Yes ends the load. */
    dataNotSavedQuestion(merging: boolean): CoreMessage | null;
    /**
     * Just before the file is read (after the questions): "File Too Large!"
     * (a "File Error") for a file of more than MAX_FILE_BYTES, which is then
     * not read at all; null otherwise.
     */
    loadSizeError(fileName: string, byteCount: number): CoreMessage | null;
    /**
     * The file could not be read (File.arrayBuffer() rejected): the "File
     * Error" for the error's name ("NotFoundError": "File Not Found!",
     * "NotReadableError"/"SecurityError": "File Access Denied!").
     */
    loadReadError(fileName: string, errorName: string): CoreMessage;
    /** Reads the whole file (bytes), then merges it into or replaces the table. */
    loadFile(fileName: string, bytes: Uint8Array, merging: boolean): LoadResult;

    // --- Keeping the work in the browser.
    /** Everything above as bytes (table, pending record, flags, names); restore() takes them back. */
    state(): Uint8Array;
    /** false (and nothing changed) for bytes that are not a state. */
    restore(bytes: Uint8Array): boolean;
}

export interface MeasurementDeskConstructor {
    new (): MeasurementDesk;
}

export interface QuorvexCore {
    // --- Start-up.
    /**
     * Writes the two tables into the module's file system and points the
     * time scales and Jupiter's ephemeris at them. Call once, first.
     */
    init(leapSeconds: Uint8Array, outerPlanets: Uint8Array): void;
    /**
     * The engine's own messages since the last call (OK only). After "Next"
     * show them all; during the animation stop it and show the first only
     * (the light-time iteration repeats a message).
     */
    takeMessages(): CoreMessage[];
    programVersion(): string; // "2.002"
    versionText(): string; // "Version 2.002"
    optionDefaults(): SessionOptions;
    featureDefaults(): FeatureFlags;

    // --- The instructor's settings file.
    /**
     * Reads the settings file's bytes (UTF-8 JSON; more than
     * WEB_OPTIONS_MAX_BYTES are refused as too large). Show `message` when
     * there is one.
     */
    parseWebOptions(bytes: Uint8Array): WebOptions;
    /**
     * The file is there but the server would not give it: its HTTP status
     * (403, 500, ...), or 0 when no answer came or it broke off. The defaults
     * apply; show `message`. A file that is not there (404, 410) needs neither.
     */
    webOptionsFetchFault(httpStatus: number): WebOptions;
    readonly WEB_OPTIONS_FILE_NAME: string; // "quorvex-options.json", beside the page
    readonly WEB_OPTIONS_MAX_BYTES: number; // 1 MiB

    // --- Geometry constants.
    readonly VIEW_WIDTH: number; // 628
    readonly VIEW_HEIGHT: number; // 326
    readonly VIEW_CENTRE_X: number; // 314
    readonly VIEW_CENTRE_Y: number; // 163
    readonly MAGNIFICATIONS: number; // 4
    readonly ROTATION_PICTURES: number; // 573
    readonly REVIEW_HEADER_LINE_COUNT: number; // 5

    Instant: InstantConstructor;
    MeasurementDesk: MeasurementDeskConstructor;

    // --- The sky.
    /** The moons at the instant (UT); also the state the eyepiece functions below draw from. */
    computeSatellites(instant: Instant): Satellites;
    /**
     * The eyepiece for the last computeSatellites at `instant` (used for the
     * rotation picture and labels).
     */
    eyepiece(instant: Instant, magIndex: number, features: FeatureFlags, redSpotLongitude: number): EyepieceFrame;
    rotationImageNumberAt(instant: Instant, redSpotLongitude: number): number;
    /** The eclipse-stop message for moon 1..4 (OK continues the animation, Cancel does not). */
    eclipseStopMessage(moon: number): CoreMessage;

    // --- The crosshair.
    identifyMoon(pixels: MoonPixel[], x: number, y: number, magIndex: number): number;
    cursorReading(x: number, magIndex: number): number;
    evaluatePoint(pixels: MoonPixel[], x: number, y: number, magIndex: number, identify: boolean, showDistance: boolean): CursorEvaluation;
    magnificationText(magIndex: number): string;
    cursorText(x: number, y: number): string;
    moonIdText(moon: number): string;
    readingText(reading: number, dxPixels: number): string;
    intervalLabelText(hours: number): string; // "Data Interval: 24.00 Hrs "
    animationLabelText(hours: number, animationFeature: boolean): string; // "" when off

    // --- The entry form's rules (also available through MeasurementDesk).
    entryBoxText(offset: number, included: boolean): string;
    invalidEntryMessage(moon: number): CoreMessage;

    // --- Log-in.
    /** The log-in form's OK for what was typed. */
    login(typed: LoginTyped): LoginOutcome;
    /** The record of an improper log-in (what login() gives without a first name). */
    improperLogin(): { studentName1: string; loginId: string };
    loginIdFor(studentName1: string): string;
    readonly DEMO_LOGIN_ID: string; // "DEMO" (demonstration mode)
    readonly DEMO_STUDENT_NAME: string; // "Demonstration"
    readonly MAX_STUDENT_NAME_CHARS: number; // 40
    readonly MAX_LAB_TABLE_CHARS: number; // 4

    // --- The end of the exercise.
    /** "Data Will Be Lost!" (Yes/No/Cancel): unsaved measurements when the student leaves. */
    dataWillBeLostQuestion(): CoreMessage;
    /** "** Exercise Finished? **" (Yes/No, stop icon). */
    exerciseFinishedQuestion(): CoreMessage;
    /** The reminder (REMINDER.jup's bytes) as "** Exercise Finished? **" with OK/Cancel, stop icon. */
    reminderMessage(fileBytes: Uint8Array): CoreMessage;

    // --- The list windows.
    /**
     * "Search..." of a list window: the search dialog's "From Top"
     * (fromCursor false) or "From Cursor" (from the line after `selected`,
     * -1 for none) over the list's lines. An empty text finds nothing and
     * says so (the dialog's search without text).
     */
    searchTextLines(lines: string[], selected: number, fromCursor: boolean, text: string, caseDependent: boolean): TextSearchResult;
    /** "Print...": the printout's title and header for the log-in, stamped with `now`. */
    printoutHeader(login: { names: string[]; labTable: string }, now: LocalDateTime): PrintoutHeader;
    /** The largest measurement file a load reads (64 MiB). */
    readonly MAX_FILE_BYTES: number;

    // --- The hotlist.
    parseHotList(bytes: Uint8Array): HotList;
    /** "Hotlist Empty!" when the list holds nothing. */
    hotListEmptyMessage(): CoreMessage;
    /** "No Selection!" when Choose is pressed without a selected entry. */
    hotListNoSelectionMessage(): CoreMessage;
}

export interface QuorvexCoreOptions {
    /** Where the .wasm file is: by default beside quorvex-core.mjs. */
    locateFile?: (path: string, prefix: string) => string;
}

/**
 * The module's factory, the default export of quorvex-core.mjs. The bundle
 * does not include the module: load it at run time beside the page, e.g.
 *   const mod = (await import(new URL('quorvex-core.mjs', document.baseURI).href)) as
 *       { default: CreateQuorvexCore };
 *   const core = await mod.default();
 */
export type CreateQuorvexCore = (options?: QuorvexCoreOptions) => Promise<QuorvexCore>;
