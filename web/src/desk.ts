// SPDX-License-Identifier: GPL-3.0-or-later
// The observation desk ("ORVA Exercise - Quorvex"): the page's main window.
// It holds the session's state (who is logged in, what is shown, the
// instant, the magnification, the features, the animation), forwards the
// student's actions to the engine, draws what the engine computed, and keeps
// the group's work in the browser after every change.

import type {
    CoreMessage,
    EntryResult,
    FeatureFlags,
    Instant,
    MeasurementDesk,
    MoonPixel,
    QuorvexCore,
    SessionOptions,
} from './core';
import type { RotationAtlas } from './atlas';
import { AnalysisWindow } from './analysis';
import { DateTimeForm } from './datetime';
import { PageWindow, buttonRow, pushButton, showMessage } from './dialogs';
import { byId, h } from './dom';
import { siteFiles, siteUrl } from './engine';
import { EntryForm } from './entry';
import { EyepieceView, type ViewPoint } from './eyepiece';
import { FeaturesForm, offeredFeatures } from './features';
import { FilePicker, SaveForm, acceptDrops, download } from './files';
import { HotListWindow, type HotListDefaults } from './hotlist';
import { helpMenuItems, setUpHelp } from './help';
import { LoginForm } from './login';
import { MenuBar, separator } from './menu';
import { PhenomenaWindow } from './phenomena';
import { printLines, printout } from './print';
import { ReviewWindow, reviewCaption } from './review';
import { SearchForm } from './search';
import type { StoredLogin, StoredWork, WorkStore } from './store';
import { TimingForm } from './timing';
import { TopViewWindow } from './topview';

// The work kept in the browser, with the analysis window's fitted curves.
type StoredWorkWithFits = StoredWork & { analysis?: Uint8Array };

// Said once when the browser cannot keep the work.
const storageLost: CoreMessage = {
    caption: 'Write-Enabled Storage Required',
    text:
        "This browser does not let the exercise keep your group's work.\n\n" +
        'Save your measurements (File > Data > Save) before you close the page.',
    icon: 'warning',
    buttons: ['ok'],
};

// The tab's own session survives a reload in sessionStorage; the store's
// mark brings it back after a crash or a restart too. A page whose storage
// is refused (a sandboxed frame) goes on without it.
const tabSession = {
    key: 'quorvex.session',
    get(): string | null {
        try {
            return sessionStorage.getItem(this.key);
        } catch {
            return null;
        }
    },
    set(loginId: string | null): void {
        try {
            if (loginId === null) sessionStorage.removeItem(this.key);
            else sessionStorage.setItem(this.key, loginId);
        } catch {
            // Nothing to keep it in: the store's mark still brings it back.
        }
    },
};
// The name of an animation tick's performance measure.
const tickMeasure = 'quorvex animation tick';
// While the animation runs, its instants are kept at most this often.
const animationSaveDelayMs = 1000;
// The pause between the first eyepiece on screen and the fetch of the rest.
const cacheTheRestDelayMs = 2000;
// Typing in the entry form is kept after a short pause.
const entryTypingSaveDelayMs = 300;

export interface DeskParts {
    core: QuorvexCore;
    atlas: RotationAtlas | null;
    store: WorkStore;
    // The settings file's options, or the defaults.
    options: SessionOptions;
    // The hotlist a group starts from.
    hotList: HotListDefaults;
    reminder: () => Promise<CoreMessage | null>;
}

type EntryMode = { kind: 'record' } | { kind: 'edit'; done: (ok: boolean) => void };

export class Desk {
    private readonly core: QuorvexCore;
    private readonly store: WorkStore;
    private readonly options: SessionOptions;
    private readonly menu: MenuBar;
    private readonly view: EyepieceView;
    private readonly entry = new EntryForm();
    private readonly review: ReviewWindow;
    private readonly loginForm: LoginForm;
    private readonly dateTimeForm: DateTimeForm;
    private readonly hotlist: HotListWindow;
    private readonly featuresForm: FeaturesForm;
    private readonly saveForm = new SaveForm();
    private readonly picker = new FilePicker();
    private readonly searchForm = new SearchForm();
    private readonly measurements: MeasurementDesk;
    private readonly topView: TopViewWindow;
    private readonly timingForm: TimingForm;
    private readonly phenomena: PhenomenaWindow;
    private readonly analysis: AnalysisWindow;

    // The session (the desktop's Session and main-window fields).
    private displayState = 0; // 0 logo, 1 title picture, 2 telescope view
    private loggedIn = false;
    private runOffered = false;
    private cursorPlaced = false;
    private animating = false;
    private quitConfirmed = false;
    private ending = false;
    private login: StoredLogin | null = null;
    private demonstration = false;
    private features: FeatureFlags;
    private instant: Instant;
    private magIndex = 0;
    private dataInterval: number;
    private animationStep: number;
    private timerMs: number;
    private pixels: MoonPixel[] = [];
    private cursorMoon = 0;
    private cursorReading = 0;
    private timer: ReturnType<typeof setInterval> | null = null;
    private inTick = false;
    private ticksMeasured = 0;
    private entryMode: EntryMode = { kind: 'record' };
    private restCached = false;
    private loads: Promise<void> = Promise.resolve();

    private readonly el = {
        splash: byId('splash'),
        splashPicture: byId<HTMLImageElement>('splash-picture'),
        splashNote: byId('splash-note'),
        upper: byId('upper'),
        lower: byId('lower'),
        said: byId('view-said'),
        date: byId('DateLbl'),
        ut: byId('UTLbl'),
        jd: byId('JDLbl'),
        interval: byId('IntrvLbl'),
        animation: byId('AnmLbl'),
        cursor: byId('CrsrLbl'),
        reading: byId('RdngLbl'),
        moon: byId('IDLbl'),
        mag: [1, 2, 3, 4].map((i) => byId<HTMLButtonElement>(`Mag${i}Btn`)),
        next: byId<HTMLButtonElement>('NextBtn'),
        cont: byId<HTMLButtonElement>('ContBtn'),
        record: byId<HTMLButtonElement>('RecordBtn'),
    };

    constructor(private readonly parts: DeskParts) {
        const core = parts.core;
        this.core = core;
        this.store = parts.store;
        this.options = parts.options;
        this.features = core.featureDefaults();
        this.dataInterval = this.options.dataIntervalHours;
        this.animationStep = this.options.animationStepHours;
        this.timerMs = this.options.animationTimerMs;
        this.measurements = new core.MeasurementDesk();
        // The instant: 0h UT of the present UT date.
        this.instant = core.Instant.startOfToday(this.options.zoneOffsetHours);

        setUpHelp(core, () => this.login);
        this.menu = new MenuBar(byId('menubar-host'), 'Main menu', [
            {
                id: 'File1',
                caption: '&File',
                items: [
                    { id: 'LogIn1', caption: '&Log In...', action: () => void this.logIn() },
                    { id: 'Run1', caption: '&Run...', action: () => void this.run() },
                    separator,
                    { id: 'Features1', caption: '&Features...', action: () => void this.chooseFeatures() },
                    {
                        id: 'ObservationDateMenu',
                        caption: 'Observation &Date',
                        items: [
                            { id: 'ObservationDate1', caption: '&Set Date/Time...', action: () => void this.setDateTime() },
                            { id: 'JupiterPhenomena1', caption: '&Jupiter Phenomena', action: () => void this.showPhenomena() },
                        ],
                    },
                    { id: 'Timing1', caption: '&Timing...', action: () => void this.timing() },
                    separator,
                    {
                        id: 'Data1',
                        caption: 'D&ata',
                        items: [
                            { id: 'Load1', caption: '&Load...', action: () => this.picker.open() },
                            { id: 'ReviewData1', caption: '&Review/Edit/Print...', action: () => void this.openReview() },
                            {
                                id: 'Save1',
                                caption: '&Save',
                                items: [
                                    { id: 'SaveData1', caption: '&Binary Format...', action: () => void this.save(false) },
                                    {
                                        id: 'CSVFormat1',
                                        caption: '.&CSV Format (for Spreadsheet)...',
                                        action: () => void this.save(true),
                                    },
                                ],
                            },
                            { id: 'AnalyzeData1', caption: 'A&nalyze...', action: () => void this.analyze() },
                        ],
                    },
                    separator,
                    { id: 'Exit1', caption: 'E&xit', action: () => void this.exit() },
                ],
            },
            {
                id: 'Help1',
                caption: '&Help',
                items: helpMenuItems(core, { id: 'About1', caption: '&About', action: () => void this.about() }),
            },
        ]);

        this.view = new EyepieceView(byId<HTMLCanvasElement>('view'), byId<HTMLCanvasElement>('view-overlay'), parts.atlas);
        this.view.home = { x: core.VIEW_CENTRE_X, y: core.VIEW_CENTRE_Y };
        this.view.onPlace = (p, complete) => this.evaluatePoint(p, complete);
        this.view.onEnter = () => {
            if (!this.el.record.disabled) void this.record();
        };

        this.loginForm = new LoginForm(core);
        let editDateTime: DateTimeForm | null = null;
        this.hotlist = new HotListWindow({
            core,
            store: this.store,
            editMode: this.options.editMode,
            defaults: parts.hotList,
            group: () => (this.login ? { loginId: this.login.loginId, login: this.login } : null),
            searchForm: this.searchForm,
            editForm: () => (editDateTime ??= new DateTimeForm(core, this.options.editMode, null)),
        });
        this.dateTimeForm = new DateTimeForm(core, this.options.editMode, this.hotlist);
        this.featuresForm = new FeaturesForm(this.options);
        this.topView = new TopViewWindow({
            core,
            eclipseVisibility: this.options.eclipseVisibility,
            animating: () => this.animating,
            closed: () => {
                this.features.topView = false;
                this.persist();
            },
        });
        this.timingForm = new TimingForm(core);
        this.phenomena = new PhenomenaWindow((caption, lines) => {
            printout(this.core, this.login, [printLines(['', caption, '', ...lines])]);
        });
        this.review = new ReviewWindow({
            edit: (line) => void this.editLine(line),
            remove: (line) => void this.deleteLine(line),
            undo: () => void this.undo(),
            search: () => void this.searchList(),
            print: () => this.printList(),
        });
        this.analysis = new AnalysisWindow({
            core,
            analysis: new core.OrbitAnalysis(this.measurements),
            modes: () => ({ testMode: this.options.testMode, editMode: this.options.editMode, monochrome: this.options.monochrome }),
            login: () => this.login,
            tableChanged: () => this.tableChanged(),
            fitChanged: (delayMs) => this.persist(delayMs),
        });
        this.entry.onOK = () => void this.entryOK();
        this.entry.onCancel = () => this.entryCancel();
        // What is typed into the recording form is kept too.
        this.entry.onInput = () => {
            if (this.recordingOpen()) this.persist(entryTypingSaveDelayMs);
        };

        this.el.mag.forEach((b, i) => b.addEventListener('click', () => this.magnify(i)));
        this.el.next.addEventListener('click', () => void this.next());
        this.el.cont.addEventListener('click', () => this.setAnimating(!this.animating));
        this.el.record.addEventListener('click', () => void this.record());

        this.picker.onChosen = (f) => this.queueLoad(f);
        acceptDrops(
            document.body,
            () => this.loggedIn && !document.querySelector('dialog:modal'),
            (f) => this.queueLoad(f),
        );

        this.store.onFailure = () => void showMessage(storageLost);
        window.addEventListener('beforeunload', (e) => this.beforeUnload(e));
        window.addEventListener('pagehide', () => void this.store.flush());
        document.addEventListener('visibilitychange', () => {
            if (document.visibilityState === 'hidden') void this.store.flush();
        });
    }

    // --- Start ----------------------------------------------------------------

    // The session the tab had open comes back; else demonstration mode
    // starts at once, or the logo waits for "Log In...".
    async start(): Promise<void> {
        this.el.splashNote.hidden = true;
        const id = tabSession.get() ?? (await this.store.currentSession());
        const work = id ? await this.store.load(id) : undefined;
        if (work) {
            this.loggedIn = true;
            await this.startSession(work.login, work.demonstration, work);
        } else if (!this.options.loginRequired) {
            this.displayState = 1;
            await this.startSession(
                { names: [this.core.DEMO_STUDENT_NAME, '', '', ''], labTable: '', loginId: this.core.DEMO_LOGIN_ID },
                true,
            );
        }
        this.updateControls();
        this.paint();
    }

    private async logIn(): Promise<void> {
        if (this.loggedIn) return;
        const login = await this.loginForm.run();
        this.displayState = 1;
        this.loggedIn = true;
        await this.startSession(login, false);
        this.paint();
    }

    // The session of a group: its work kept in this browser comes back (from
    // `work` or from the store), the clock's steps come from the options.
    private async startSession(login: StoredLogin, demonstration: boolean, work?: StoredWork): Promise<void> {
        this.login = login;
        this.demonstration = demonstration;
        this.loggedIn = true;
        this.displayState = Math.max(this.displayState, 1);
        this.dataInterval = this.options.dataIntervalHours;
        this.animationStep = this.options.animationStepHours;
        this.timerMs = this.options.animationTimerMs;
        this.runOffered = true;
        const kept = work ?? (await this.store.load(login.loginId));
        if (kept) this.restoreWork(kept);
        const entry = kept?.displayState === 2 ? kept.entry : null;
        this.view.home = { x: this.core.VIEW_CENTRE_X, y: this.core.VIEW_CENTRE_Y };
        tabSession.set(login.loginId);
        await this.store.setCurrentSession(login.loginId);
        this.persist();
        this.updateControls();
        if (this.displayState === 2) {
            this.computeForInstant();
            this.paint();
            // The recording form comes back open, with what was typed in it.
            if (entry && Array.isArray(entry.texts)) {
                this.entryMode = { kind: 'record' };
                this.entry.fill(this.measurements.pendingDateLabels(), entry.texts.map(String));
                this.entry.open(false);
            }
            await this.showCoreMessages();
        }
    }

    private restoreWork(w: StoredWork): void {
        // The engine's own state; a table alone when a later version no
        // longer reads it.
        if (!(w.session && this.measurements.restore(w.session)) && w.table?.length) {
            this.measurements.loadFile('JupSatData1.DAT', w.table, false);
        }
        const at =
            (w.instant && this.core.Instant.fromState(w.instant)) ??
            (Number.isFinite(w.clockValue) ? this.core.Instant.fromClock(w.clockValue, Number(w.zoneOffsetHours) || 0) : null);
        if (at) {
            this.instant.delete();
            this.instant = at;
        }
        this.magIndex = Math.min(Math.max(Math.trunc(w.magIndex) || 0, 0), 3);
        // Kept features the settings no longer offer go as the features
        // form's OK would take them.
        if (w.features) this.features = offeredFeatures({ ...this.features, ...w.features }, this.options);
        if (w.displayState === 2) {
            this.displayState = 2;
            this.runOffered = false;
        }
        const fits = (w as StoredWorkWithFits).analysis;
        if (fits) this.analysis.restore(fits);
    }

    private snapshot(): StoredWorkWithFits {
        const login = this.login as StoredLogin;
        return {
            analysis: this.analysis.state(),
            loginId: login.loginId,
            login,
            demonstration: this.demonstration,
            displayState: this.displayState,
            session: this.measurements.state(),
            table: this.measurements.encodeDat(),
            instant: this.instant.state(),
            clockValue: this.instant.clockValue(),
            zoneOffsetHours: this.instant.zoneOffsetHours(),
            magIndex: this.magIndex,
            features: { ...this.features },
            entry: this.recordingOpen() ? { texts: this.entry.texts() } : null,
            savedAt: Date.now(),
        };
    }

    // Keeps the group's work in the browser: at once after a change of the
    // measurements, a little later for a moving clock.
    private persist(delayMs = 0): void {
        if (!this.login || this.ending) return;
        this.store.save(this.login.loginId, () => this.snapshot(), delayMs);
    }

    private beforeUnload(e: BeforeUnloadEvent): void {
        if (this.ending || !this.loggedIn) return;
        void this.store.flush();
        if (!this.measurements.dataSaved() || this.measurements.holdsUnstoredValue()) {
            e.preventDefault();
            e.returnValue = '';
        }
    }

    // --- What is shown and usable --------------------------------------------

    private paint(): void {
        const showView = this.displayState === 2;
        this.el.upper.hidden = !showView;
        this.el.lower.hidden = !showView;
        this.el.splash.hidden = showView;
        if (showView) {
            this.el.splashPicture.hidden = true;
            this.updateView();
            return;
        }
        const img = this.el.splashPicture;
        const title = this.displayState === 1;
        const src = siteUrl(title ? siteFiles.title : siteFiles.logo);
        if (img.src !== src) {
            img.alt = title ? 'Quorvex, ORVA Exercise' : 'ORVA';
            img.onload = () => (img.hidden = false);
            img.onerror = () => (img.hidden = true);
            img.src = src;
        }
    }

    private updateControls(): void {
        const m = this.menu;
        m.setEnabled('LogIn1', !this.loggedIn);
        m.setEnabled('Run1', this.runOffered);
        m.setEnabled('Features1', this.displayState === 2);
        m.setEnabled('ObservationDateMenu', this.displayState === 2);
        m.setEnabled('Timing1', this.displayState === 2);
        m.setEnabled('Data1', this.loggedIn);
        // The table's commands store a pending value first, so one is enough.
        const table = this.measurements.tableMenus() || this.measurements.holdsUnstoredValue();
        m.setEnabled('ReviewData1', table);
        m.setEnabled('Save1', table);
        m.setEnabled('AnalyzeData1', table);
        this.el.next.disabled = this.animating;
        this.el.cont.disabled = !this.features.animation;
        this.el.record.disabled = !this.cursorPlaced;
    }

    // --- The telescope view --------------------------------------------------

    private computeForInstant(): void {
        this.core.computeSatellites(this.instant);
    }

    // The engine's own messages since the last call (a date its tables do
    // not cover), each once: the passes of the light-time iteration repeat them.
    private takeCoreMessages(): CoreMessage[] {
        const seen = new Set<string>();
        return this.core.takeMessages().filter((m) => {
            const key = `${m.caption}\n${m.text}`;
            if (seen.has(key)) return false;
            seen.add(key);
            return true;
        });
    }

    private async showCoreMessages(): Promise<void> {
        for (const m of this.takeCoreMessages()) await showMessage(m);
    }

    // Draws the view for the instant and refreshes the read-outs; the
    // placement's read-outs go and "Record" waits for the next placement.
    private updateView(): void {
        if (this.displayState !== 2) return;
        const frame = this.core.eyepiece(this.instant, this.magIndex, this.features, this.options.redSpotLongitude);
        this.view.draw(frame);
        if (!this.restCached) {
            this.restCached = true;
            setTimeout(cacheTheRest, cacheTheRestDelayMs);
        }
        this.pixels = frame.pixels;
        setText(this.el.date, frame.dateLabel);
        setText(this.el.ut, frame.utLabel);
        setText(this.el.jd, frame.jdLabel);
        this.refreshTimingLabels();
        setText(this.el.cursor, '');
        setText(this.el.reading, '');
        setText(this.el.moon, '');
        this.el.said.textContent = '';
        this.cursorPlaced = false;
        this.updateControls();
        if (frame.eclipseStopMoon > 0 && this.animating) void this.eclipseStop(frame.eclipseStopMoon);
        // The top view follows its feature.
        this.topView.sync(this.core.topViewShown(this.features, this.options.allowTopView), this.features.idColors);
    }

    private refreshTimingLabels(): void {
        setText(this.el.interval, this.core.intervalLabelText(this.dataInterval));
        setText(this.el.animation, this.core.animationLabelText(this.animationStep, this.features.animation));
    }

    private magnify(magIndex: number): void {
        this.magIndex = magIndex;
        this.updateView();
        this.persist();
    }

    private evaluatePoint(p: ViewPoint, complete: boolean): void {
        if (this.displayState !== 2) return;
        const e = this.core.evaluatePoint(
            this.pixels,
            p.x,
            p.y,
            this.magIndex,
            this.options.identifyMoon,
            this.options.showDistance,
        );
        this.cursorMoon = e.moon;
        this.cursorReading = e.reading;
        setText(this.el.cursor, e.cursorText);
        setText(this.el.reading, e.readingText);
        setText(this.el.moon, e.moonIdText);
        this.el.said.textContent = e.description;
        this.topView.highlightMoon(e.moon);
        if (complete) {
            this.cursorPlaced = true;
            this.updateControls();
        }
    }

    private async chooseFeatures(): Promise<void> {
        if (!(await this.featuresForm.run(this.features))) return;
        this.updateControls();
        this.paint();
        this.persist();
    }

    // --- The clock -----------------------------------------------------------

    private async run(): Promise<void> {
        if (!this.runOffered) return;
        await this.askDateTime(this.displayState === 2);
        this.runOffered = false;
        this.displayState = 2;
        this.magIndex = 0;
        this.computeForInstant();
        this.paint();
        this.updateControls();
        this.persist();
        await this.showCoreMessages();
    }

    private async setDateTime(): Promise<void> {
        if (this.displayState !== 2) return;
        if (!(await this.askDateTime(true))) return;
        this.computeForInstant();
        this.paint();
        this.persist();
        await this.showCoreMessages();
    }

    // The date/time form on a copy of the instant; OK takes its clock.
    private async askDateTime(cancelEnabled: boolean): Promise<boolean> {
        const clock = this.instant.clone();
        try {
            const ok = await this.dateTimeForm.run(clock, cancelEnabled);
            if (ok) this.instant.setFromClock(clock.clockValue());
            return ok;
        } finally {
            clock.delete();
        }
    }

    // "Timing...": the dialog edits the three values; those it took stay
    // (a refused OK may have taken the first ones before Cancel). The view
    // is not redrawn; the animation's period changes at its next start.
    private async timing(): Promise<void> {
        if (this.displayState !== 2) return;
        const now = { dataIntervalHours: this.dataInterval, animationStepHours: this.animationStep, animationTimerMs: this.timerMs };
        const o = this.options;
        const defaults = { dataIntervalHours: o.dataIntervalHours, animationStepHours: o.animationStepHours, animationTimerMs: o.animationTimerMs };
        const after = await this.timingForm.run(now, defaults);
        this.dataInterval = after.dataIntervalHours;
        this.animationStep = after.animationStepHours;
        this.timerMs = after.animationTimerMs;
        this.refreshTimingLabels();
    }

    // "Jupiter Phenomena": the table for the observation instant, computed
    // anew each time; what the search had to say comes first.
    private async showPhenomena(): Promise<void> {
        if (this.displayState !== 2) return;
        const lines = this.core.phenomenaLines(this.instant);
        await this.showCoreMessages();
        this.phenomena.show(lines);
    }

    private async next(): Promise<void> {
        if (this.animating || this.displayState !== 2) return;
        // What the entry form holds goes into the table; an unreadable value
        // is reported there and does not stop the clock.
        const r = this.measurements.beforeNext(this.openRecordingBoxes());
        await this.afterEntryResult(r);
        this.instant.advanceHours(this.dataInterval);
        this.computeForInstant();
        this.updateView();
        this.tableChanged();
        await this.showCoreMessages();
    }

    private setAnimating(on: boolean): void {
        if (on === this.animating) return;
        this.animating = on;
        if (this.timer !== null) clearInterval(this.timer);
        this.timer = on ? setInterval(() => void this.tick(), Math.max(1, this.timerMs)) : null;
        // The moving clock is not read out at every tick; it is again once it stops.
        for (const l of [this.el.date, this.el.ut, this.el.jd]) l.setAttribute('aria-live', on ? 'off' : 'polite');
        this.updateControls();
        if (!on) this.persist();
    }

    // One animation step. A tick runs to its end before the next: ticks
    // that fall due while it shows a message are dropped, not queued.
    private async tick(): Promise<void> {
        if (this.inTick || !this.animating) return;
        this.inTick = true;
        const t0 = performance.now();
        try {
            this.instant.advanceHours(this.animationStep);
            this.computeForInstant();
            // A message from the engine stops the animation before it is shown.
            const messages = this.core.takeMessages();
            if (messages.length > 0) {
                this.setAnimating(false);
                await showMessage(messages[0]);
            }
            this.updateView();
            this.persist(animationSaveDelayMs);
            // The tick's own time (advance, engine, draw), for whoever profiles
            // the page; the oldest entries go now and then.
            if (++this.ticksMeasured % 5000 === 0) performance.clearMeasures(tickMeasure);
            performance.measure(tickMeasure, { start: t0, end: performance.now() });
        } finally {
            this.inTick = false;
        }
    }

    private async eclipseStop(moon: number): Promise<void> {
        this.setAnimating(false);
        const answer = await showMessage(this.core.eclipseStopMessage(moon));
        if (answer === 'ok') this.setAnimating(true);
    }

    // --- Recording -----------------------------------------------------------

    private async record(): Promise<void> {
        if (!this.cursorPlaced || this.displayState !== 2) return;
        const msg = this.measurements.record(this.instant, this.cursorMoon, this.cursorReading, this.options.autoRecord);
        this.tableChanged();
        if (msg) {
            await showMessage(msg);
            return;
        }
        // The form opens, or shows the record again where it is open.
        this.entryMode = { kind: 'record' };
        this.entry.fill(this.measurements.pendingDateLabels(), this.measurements.pendingBoxTexts());
        this.entry.open(false);
        this.persist();
    }

    private async entryOK(): Promise<void> {
        const mode = this.entryMode;
        if (mode.kind === 'record') {
            await this.acceptRecording();
            return;
        }
        const r = this.measurements.acceptEdit(this.entry.texts());
        if (r.failedMoon !== 0) {
            await showMessage(r.message ?? this.core.invalidEntryMessage(r.failedMoon));
            this.entry.focusBox(r.failedMoon);
            return;
        }
        this.entry.close();
        mode.done(true);
    }

    private entryCancel(): void {
        const mode = this.entryMode;
        this.entry.close();
        if (mode.kind === 'edit') {
            this.measurements.cancelEdit();
            mode.done(false);
        } else {
            this.persist();
        }
    }

    // The recording form's OK: its boxes go into the pending record; the
    // form closes unless a box could not be read. True when it closed.
    private async acceptRecording(): Promise<boolean> {
        return this.afterEntryResult(this.measurements.acceptPending(this.entry.texts()));
    }

    // Before a save, the review list: the form's values are taken, then an
    // unstored pending record is stored and reset.
    private async flush(): Promise<void> {
        const r = this.measurements.flush(this.openRecordingBoxes());
        await this.afterEntryResult(r);
        // A form kept open by a box it could not read shows the fresh record.
        if (this.recordingOpen()) this.entry.fillBoxes(this.measurements.pendingBoxTexts());
    }

    private recordingOpen(): boolean {
        return this.entry.isOpen && this.entryMode.kind === 'record';
    }

    // The recording form's boxes when it is open, for the engine to accept.
    private openRecordingBoxes(): string[] | null {
        return this.recordingOpen() ? this.entry.texts() : null;
    }

    // After the engine took the open form's boxes: the form closes, or stays
    // open on the box it could not read, which is reported.
    private async afterEntryResult(r: EntryResult): Promise<boolean> {
        this.tableChanged();
        if (r.failedMoon !== 0) {
            await showMessage(r.message ?? this.core.invalidEntryMessage(r.failedMoon));
            this.entry.focusBox(r.failedMoon);
            return false;
        }
        if (this.recordingOpen()) this.entry.close(this.view.canvas);
        return true;
    }

    // After every change of the measurements: the menus, the open review
    // list and the browser's copy follow.
    private tableChanged(select?: number): void {
        this.updateControls();
        if (this.review.isOpen) {
            this.review.update(this.measurements.reviewListLines(), this.measurements.canUndo(), select);
        }
        this.analysis.refresh();
        this.persist();
    }

    // --- The review list -----------------------------------------------------

    private async openReview(): Promise<void> {
        await this.flush();
        this.review.show(this.measurements.reviewListLines(), this.measurements.canUndo());
    }

    private recordIndex(line: number): number {
        return line < 0 ? -1 : line - this.core.REVIEW_HEADER_LINE_COUNT;
    }

    private async editLine(line: number): Promise<void> {
        const index = this.recordIndex(line);
        const sel = this.measurements.selectionMessage(index);
        if (sel) {
            await showMessage(sel);
            return;
        }
        // The recording form steps aside while a stored record is edited and
        // comes back with the pending record afterwards.
        if (!this.measurements.beginEdit(index)) return;
        const recordingOpen = this.recordingOpen();
        if (recordingOpen) this.entry.close();
        const ok = await new Promise<boolean>((done) => {
            this.entryMode = { kind: 'edit', done };
            this.entry.fill(this.measurements.editDateLabels(), this.measurements.editBoxTexts());
            this.entry.open(true);
        });
        this.entryMode = { kind: 'record' };
        if (recordingOpen) {
            this.entry.fill(this.measurements.pendingDateLabels(), this.measurements.pendingBoxTexts());
            this.entry.open(false);
        }
        if (ok) this.tableChanged(this.measurements.lineAfterEdit());
    }

    private async deleteLine(line: number): Promise<void> {
        const index = this.recordIndex(line);
        const sel = this.measurements.selectionMessage(index);
        if (sel) {
            await showMessage(sel);
            return;
        }
        if ((await showMessage(this.measurements.deleteQuestion())) !== 'ok') return;
        const select = this.measurements.deleteRecord(index);
        this.tableChanged(select);
    }

    private async undo(): Promise<void> {
        if (!this.measurements.canUndo()) return;
        if ((await showMessage(this.measurements.undoQuestion())) !== 'ok') return;
        const select = this.measurements.undo();
        this.tableChanged(select);
    }

    // "Search...": the search dialog, then the engine's search of the list's
    // lines; the line found is selected. The dialog starts empty each time,
    // as the desktop's list empties it whenever the list becomes active again.
    private async searchList(): Promise<void> {
        const list = this.review.list;
        const asked = await this.searchForm.run();
        if (!asked || !this.review.isOpen) return;
        const r = this.core.searchTextLines(list.lines, list.selectedLine, asked.fromCursor, asked.text, asked.caseDependent);
        list.el.focus();
        if (r.message) {
            await showMessage(r.message);
            return;
        }
        list.select(r.line);
    }

    // "Print...": the printout's header (the date and time, the table, the
    // names), the window's caption and the list's lines, in the print view
    // only; the print job is named after the first student.
    private printList(): void {
        const lines = ['', reviewCaption, '', ...this.review.list.lines];
        printout(this.core, this.login, [printLines(lines)]);
    }

    // --- The analysis --------------------------------------------------------

    // Data > Analyze...: what the entry form holds goes into the table first.
    private async analyze(): Promise<void> {
        await this.flush();
        await this.analysis.open();
    }

    // --- The files -----------------------------------------------------------

    private async save(csv: boolean): Promise<void> {
        await this.flush();
        const nothing = this.measurements.nothingToSave();
        if (nothing) {
            this.tableChanged();
            await showMessage(nothing);
            return;
        }
        const typed = await this.saveForm.run(this.measurements.proposedSaveName(), csv);
        if (typed === null) return;
        const chosen = this.measurements.saveNameChosen(typed, csv);
        this.persist();
        if (chosen.error) {
            await showMessage(chosen.error);
            return;
        }
        const name = chosen.fileName;
        const bytes = csv ? this.measurements.encodeCsv(this.options.zoneOffsetHours) : this.measurements.encodeDat();
        download(bytes, name);
        this.measurements.markSaved(name);
        this.tableChanged();
    }

    // Files are loaded one after the other, each with its own questions.
    private queueLoad(file: File): void {
        this.loads = this.loads.then(() => this.load(file)).catch(() => undefined);
    }

    private async load(file: File): Promise<void> {
        if (!this.loggedIn) return;
        const name = file.name;
        const wrong = this.measurements.loadExtensionError(name);
        if (wrong) {
            await showMessage(wrong);
            return;
        }
        // Merge, or replace the table once the students agree.
        let merging = false;
        const merge = this.measurements.mergeQuestion();
        if (merge) merging = (await showMessage(merge)) === 'yes';
        const notSaved = this.measurements.dataNotSavedQuestion(merging);
        if (notSaved && (await showMessage(notSaved)) !== 'yes') return;
        // A file too large is refused before it is read into memory.
        const tooLarge = this.measurements.loadSizeError(name, file.size);
        if (tooLarge) {
            this.persist();
            await showMessage(tooLarge);
            return;
        }
        let bytes: Uint8Array;
        try {
            bytes = new Uint8Array(await file.arrayBuffer());
        } catch (e) {
            // Moved away or changed since it was chosen, or not to be read.
            this.persist();
            await showMessage(this.measurements.loadReadError(name, e instanceof DOMException || e instanceof Error ? e.name : ''));
            return;
        }
        const r = this.measurements.loadFile(name, bytes, merging);
        this.tableChanged();
        await showMessage(r.message);
        // A new table: the analysis starts again.
        if (r.changed) this.analysis.reset();
    }

    // --- The end of the exercise ---------------------------------------------

    private async exit(): Promise<void> {
        // The pending record goes into the table.
        if (this.loggedIn && !this.measurements.pendingStored()) {
            this.measurements.beforeNext(null);
            this.tableChanged();
        }
        // Unsaved measurements: the save chosen is finished before the end
        // goes on, and asked about again while the data are still unsaved.
        while (this.loggedIn && !this.measurements.dataSaved()) {
            const r = await showMessage(this.core.dataWillBeLostQuestion());
            if (r === 'cancel') return;
            if (r !== 'yes') break;
            await this.saveMenu();
        }
        await this.hotlist.askToSaveUpdated();
        let decision = this.quitConfirmed;
        if (!decision) {
            let r: string = 'abort';
            if (this.displayState === 2) {
                const reminder = await this.parts.reminder();
                if (reminder) r = await showMessage(reminder);
            }
            if (r === 'abort') r = await showMessage(this.core.exerciseFinishedQuestion());
            decision = r === 'ok' || r === 'yes';
        }
        this.quitConfirmed = decision;
        if (decision) await this.finish();
    }

    // The save offered at the end: the two formats, as the desktop's pop-up menu has them.
    private saveMenu(): Promise<void> {
        const win = new PageWindow({ caption: 'Save', className: 'save-menu' });
        const dat = pushButton('Save data in Binary Format...');
        const csv = pushButton('Save data in .CSV Format...');
        const cancel = pushButton('Cancel');
        win.body.append(h('div', { class: 'save-menu-items' }, dat, csv), buttonRow(cancel));
        return new Promise((resolve) => {
            const end = (format: boolean | null) => {
                win.close();
                win.el.remove();
                if (format === null) resolve();
                else void this.save(format).then(resolve);
            };
            dat.addEventListener('click', () => end(false));
            csv.addEventListener('click', () => end(true));
            cancel.addEventListener('click', () => end(null));
            win.onEscape = () => end(null);
            win.open(true, dat);
        });
    }

    // The exercise ends: the group's work is no longer kept (the students
    // saved it or agreed to lose it) and the page starts afresh.
    private async finish(): Promise<void> {
        this.setAnimating(false);
        this.ending = true;
        if (this.login) await this.store.remove(this.login.loginId);
        await this.store.setCurrentSession(null);
        tabSession.set(null);
        location.reload();
    }

    private async about(): Promise<void> {
        const win = new PageWindow({ caption: 'About This Exercise', className: 'about' });
        const ok = pushButton('OK');
        win.body.append(
            h('p', { class: 'about-title', text: 'Quorvex' }),
            h('p', { class: 'about-version', text: this.core.versionText() }),
            buttonRow(ok),
        );
        await new Promise<void>((resolve) => {
            const end = () => {
                win.close();
                win.el.remove();
                resolve();
            };
            ok.addEventListener('click', end);
            win.onEscape = end;
            win.open(true, ok);
        });
    }
}

// Once the first eyepiece is on screen, the service worker may fetch the
// other magnifications' pictures for offline use: the first visit itself
// needs only the 100X pictures.
function cacheTheRest(): void {
    const sw = navigator.serviceWorker;
    if (!sw) return;
    const ask = (w: ServiceWorker | null | undefined) => w?.postMessage({ type: 'cache-rest' });
    if (sw.controller) ask(sw.controller);
    else void sw.ready.then((r) => ask(r.active)).catch(() => undefined);
}

// A read-out's text, which is also its accessible name.
function setText(el: HTMLElement, text: string): void {
    if (el.textContent === text) return;
    el.textContent = text;
    if (text.trim() === '') el.removeAttribute('aria-label');
    else el.setAttribute('aria-label', text.trim());
}
