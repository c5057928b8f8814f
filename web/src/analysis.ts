// SPDX-License-Identifier: GPL-3.0-or-later
// "Jupiter Satellite Orbit Analysis": one moon's measured offsets against
// Julian date, the measuring cross, points removed from and restored to the
// residual, the sine curve set by a form and refined with three sliders
// while the residual is shown (and said), the data span, the printouts and,
// for instructors, the best-fit curve and Kepler's third law. The engine
// keeps the state and draws the plot; this window shows it and forwards the
// student's mouse, touch and keys. A table of the plotted points stands
// beside (or below) the plot for those who cannot see it.

import type {
    AnalysisModes,
    AnalysisReadout,
    AnalysisReadouts,
    AnalysisSlider,
    CoreMessage,
    OrbitAnalysis,
    PlottedPoint,
    QuorvexCore,
} from './core';
import { KeplerWindow, keplerCaption } from './analysis-kepler';
import { SineParamsForm, SpanForm } from './analysis-forms';
import { PLOT_HEIGHT, PLOT_WIDTH, PlotView, plotPictureUrl, type PlotPixel } from './analysis-plot';
import { PageWindow, showMessage } from './dialogs';
import { h, uid } from './dom';
import { openHelpList } from './help';
import { MenuBar, separator } from './menu';
import { printLines, printout, type PrintLogin } from './print';

export const analysisCaption = 'Jupiter Satellite Orbit Analysis';

// The name of a slider step's performance measure (the engine's work and the drawing).
export const sliderStepMeasure = 'quorvex analysis slider step';
// The residual is said once the sliders rest this long.
const rmsSayDelayMs = 350;
// The fits are kept in the browser at most this often while a slider moves.
const fitSaveDelayMs = 500;

// The frame's interior, where the keyboard's cross may go.
const crossBox = { left: 66, top: 26, right: 614, bottom: 274 };
const frameCentre = { x: 340, y: 150 };

export interface AnalysisHost {
    core: QuorvexCore;
    analysis: OrbitAnalysis;
    modes(): AnalysisModes;
    login(): PrintLogin | null;
    // A point was removed or restored: the desk's table changed (unsaved).
    tableChanged(): void;
    // The moons' sine parameters changed: keep them, a little later.
    fitChanged(delayMs: number): void;
}

interface ReadoutView {
    caption: string;
    el: HTMLDivElement;
}

interface SliderRow {
    which: AnalysisSlider;
    input: HTMLInputElement;
    readout: ReadoutView;
}

const moonItems = ['AnIo1', 'AnEuropa1', 'AnGanymede1', 'AnCallisto1'];

// The glyph of the slider resets: two arrows pointing at a centre mark.
function centreGlyph(): SVGSVGElement {
    const ns = 'http://www.w3.org/2000/svg';
    const svg = document.createElementNS(ns, 'svg');
    svg.setAttribute('viewBox', '0 0 14 14');
    svg.setAttribute('width', '14');
    svg.setAttribute('height', '14');
    svg.setAttribute('aria-hidden', 'true');
    svg.setAttribute('focusable', 'false');
    for (const d of ['M1 3 L6 7 L1 11 Z', 'M13 3 L8 7 L13 11 Z', 'M6.4 1 H7.6 V13 H6.4 Z']) {
        const p = document.createElementNS(ns, 'path');
        p.setAttribute('d', d);
        svg.append(p);
    }
    return svg;
}

export class AnalysisWindow {
    readonly win: PageWindow;
    private readonly core: QuorvexCore;
    private readonly analysis: OrbitAnalysis;
    private readonly menu: MenuBar;
    private readonly menuHost: HTMLDivElement;
    private readonly plot: PlotView;
    private readonly sineForm: SineParamsForm;
    private readonly spanForm = new SpanForm();
    private readonly kepler: KeplerWindow;
    private readonly sliders: SliderRow[];
    private readonly xReadout: ReadoutView;
    private readonly yReadout: ReadoutView;
    private readonly rms: HTMLInputElement;
    private readonly sensitivity: HTMLButtonElement;
    private readonly plotSaid: HTMLParagraphElement;
    private readonly rmsSaid: HTMLParagraphElement;
    private readonly bestFitLine: HTMLParagraphElement;
    private readonly tableCaption: HTMLTableCaptionElement;
    private readonly tableBody: HTMLTableSectionElement;
    private readonly tableBox: HTMLDivElement;
    private tableKey = '';
    private rmsTimer: ReturnType<typeof setTimeout> | null = null;
    private stepsMeasured = 0;

    private asking = false;
    private bestFitShown = false;

    constructor(private readonly host: AnalysisHost) {
        this.core = host.core;
        this.analysis = host.analysis;
        this.win = new PageWindow({ caption: analysisCaption, id: 'TOrbAnalForm1', className: 'analysis-window' });
        this.win.onEscape = () => this.close();

        this.menuHost = h('div', { class: 'dlg-menubar' });
        this.menu = new MenuBar(this.menuHost, analysisCaption, this.menuLayout());
        this.markCheckable();

        // --- The plot.
        const keysId = uid('plot-keys');
        const saidId = uid('plot-said');
        // The best-fit line the plot shows under its caption, for a screen reader.
        this.bestFitLine = h('p', { id: uid('plot-best-fit'), class: 'visually-hidden' });
        const canvas = h('canvas', {
            id: 'Display1',
            width: PLOT_WIDTH,
            height: PLOT_HEIGHT,
            tabindex: 0,
            role: 'application',
            'aria-label': 'Orbit plot',
            'aria-roledescription': 'plot',
            'aria-describedby': `${saidId} ${this.bestFitLine.id} ${keysId}`,
            class: 'anal-plot',
        });
        this.plot = new PlotView(canvas, {
            press: (p) => this.press(p),
            move: (p) => this.move(p),
            release: (p) => this.release(p),
            double: () => void this.doubleClick(),
            key: (e) => this.plotKey(e),
        });
        const keys = h('p', {
            id: keysId,
            class: 'visually-hidden',
            text:
                'The arrow keys select the previous point (Left or Up) and the next (Right or Down), Home and End the first ' +
                'and the last, and the cross goes to the point. Enter or Space removes the selected point from the residual ' +
                'or restores it. Shift with an arrow key moves the cross one pixel, Control and Shift ten pixels; the first such ' +
                'key brings a hidden cross to the middle of the frame.',
        });
        this.plotSaid = h('p', { id: saidId, class: 'visually-hidden', 'aria-live': 'polite' });

        // --- The residual and the sensitivity switch.
        const rmsLbl = h('span', { id: uid('RMSLbl'), class: 'anal-caption', text: 'RMS Residual' });
        this.rms = h('input', {
            type: 'text',
            id: 'RMSDisp',
            readonly: true,
            tabindex: -1,
            class: 'anal-rms',
            'aria-labelledby': rmsLbl.id,
        });
        this.rmsSaid = h('p', { class: 'visually-hidden', 'aria-live': 'polite' });
        const sensLbl = h('span', { id: uid('SnstvtyLbl'), class: 'anal-caption', text: 'Slider Sensitivity' });
        const sensHint = h('span', { id: uid('CFHint'), class: 'visually-hidden', text: 'Off: Coarse. On: Fine.' });
        this.sensitivity = h(
            'button',
            {
                type: 'button',
                id: 'CFToggle',
                role: 'switch',
                'aria-checked': 'false',
                'aria-labelledby': sensLbl.id,
                'aria-describedby': sensHint.id,
                class: 'anal-switch',
                disabled: true,
            },
            h('span', { class: 'anal-switch-knob', 'aria-hidden': 'true' }),
        );
        this.sensitivity.addEventListener('click', () => this.flipSensitivity());
        const leftColumn = h(
            'div',
            { class: 'anal-left' },
            rmsLbl,
            this.rms,
            sensLbl,
            h(
                'div',
                { class: 'anal-sens' },
                h('span', { class: 'anal-coarse', 'aria-hidden': 'true', text: 'Coarse' }),
                this.sensitivity,
                h('span', { class: 'anal-fine', 'aria-hidden': 'true', text: 'Fine' }),
                sensHint,
            ),
        );

        // --- The three fit rows: caption, read-out, reset button, slider.
        const rows: { which: AnalysisSlider; caption: string; hint: string; name: string; id: string }[] = [
            { which: 'tZero', caption: 'T-Zero (Julian Day)', hint: 'Reset the T-Zero Slider', name: 'Reset the T-Zero Slider', id: 'TScroll' },
            { which: 'period', caption: 'Period (Days)', hint: 'Reset the Period Slider', name: 'Reset the Period Slider', id: 'PScroll' },
            // The desktop's hint of this button names the period's slider; a
            // screen reader hears which slider it resets.
            {
                which: 'amplitude',
                caption: 'Amplitude (Jupiter Diameters)',
                hint: 'Reset the Period Slider',
                name: 'Reset the Amplitude Slider',
                id: 'AScroll',
            },
        ];
        const fitColumn = h('div', { class: 'anal-fit' });
        this.sliders = rows.map((r) => {
            const input = h('input', {
                type: 'range',
                id: r.id,
                min: this.core.SLIDER_MIN,
                max: this.core.SLIDER_MAX,
                step: 1,
                value: 0,
                class: 'anal-slider',
            });
            const label = h('label', { for: r.id, class: 'anal-caption', text: r.caption });
            const readout = this.readoutView(r.caption, 'anal-seg-wide');
            const reset = h('button', { type: 'button', class: 'anal-reset', title: r.hint, 'aria-label': r.name }, centreGlyph());
            input.addEventListener('input', () => this.sliderMoved(r.which, input));
            input.addEventListener('keydown', (e) => this.sliderKey(e, input));
            reset.addEventListener('click', () => this.resetSlider(r.which));
            fitColumn.append(h('div', { class: 'anal-fit-row' }, label, readout.el, h('div', { class: 'anal-fit-controls' }, reset, input)));
            return { which: r.which, input, readout };
        });

        // --- The cursor read-outs.
        this.xReadout = this.readoutView('X (Mod. JD)', 'anal-seg-small');
        this.yReadout = this.readoutView('Y (Jp. Diam)', 'anal-seg-small');
        const cursorLbl = h('span', { id: uid('Label2'), class: 'anal-caption', text: 'Cursor Position' });
        const cursorPanel = h(
            'div',
            { class: 'anal-cursor', role: 'group', 'aria-labelledby': cursorLbl.id },
            h('span', { class: 'anal-caption', 'aria-hidden': 'true', text: 'X (Mod. JD)' }),
            this.xReadout.el,
            h('span', { class: 'anal-caption', 'aria-hidden': 'true', text: 'Y (Jp. Diam)' }),
            this.yReadout.el,
        );

        // --- The table of the plotted points.
        this.tableCaption = h('caption', { id: uid('points-caption') });
        this.tableBody = h('tbody');
        const table = h(
            'table',
            { class: 'anal-points' },
            this.tableCaption,
            h(
                'thead',
                {},
                h(
                    'tr',
                    {},
                    h('th', { scope: 'col', text: 'Julian Date' }),
                    h('th', { scope: 'col', text: 'Offset (Jup. Diam.)' }),
                    h('th', { scope: 'col', text: 'In the Residual' }),
                ),
            ),
            this.tableBody,
        );
        const tableBox = (this.tableBox = h(
            'div',
            { class: 'anal-points-box', tabindex: 0, role: 'region', 'aria-labelledby': this.tableCaption.id },
            table,
        ));

        this.sineForm = new SineParamsForm({
            accept: (t, p, a) => this.acceptParameters(t, p, a),
            cancel: () => this.closeParameters(),
            say: (m) => showMessage(m),
        });
        this.spanForm.accept = (start, item) => this.analysis.acceptSpan(start, item);
        this.spanForm.say = (m) => showMessage(m);
        this.kepler = new KeplerWindow((lines) => this.print([printLines(['', keplerCaption, '', ...lines])]));

        this.win.body.append(
            this.menuHost,
            h(
                'div',
                { class: 'anal-layout' },
                h(
                    'div',
                    { class: 'anal-client' },
                    h('div', { class: 'anal-plot-panel' }, canvas),
                    h(
                        'div',
                        { class: 'anal-controls' },
                        leftColumn,
                        fitColumn,
                        h('div', { class: 'anal-right' }, cursorLbl, cursorPanel),
                    ),
                ),
                tableBox,
            ),
            keys,
            this.bestFitLine,
            this.plotSaid,
            this.rmsSaid,
        );
        this.paint();
    }

    get isOpen(): boolean {
        return this.win.isOpen;
    }

    // --- Showing, closing, resetting ------------------------------------------

    // Data > Analyze...: shows the window (or brings it forward). A showing
    // rebuilds the moons' summaries when the measurements changed since.
    async open(): Promise<void> {
        if (this.win.isOpen) {
            this.win.open(false);
            return;
        }
        const said = this.analysis.show(this.host.modes());
        this.paint();
        this.win.open(false, this.firstMenuItem(), placeCentred);
        if (said) await showMessage(said);
    }

    close(): void {
        this.closeParameters();
        this.kepler.close();
        this.win.close(document.getElementById('desk'));
    }

    // After a measurement file was loaded: no moon selected, the plot type
    // and the sliders as at the start; the window and its forms close.
    reset(): void {
        this.analysis.reset();
        this.sineForm.close();
        this.kepler.close();
        this.win.close(document.getElementById('desk'));
        this.paint();
    }

    // The desk's table changed while the window is open (an edit in the
    // review list, a new record): the plot shows the table as it is.
    refresh(): void {
        if (this.win.isOpen) this.paint();
    }

    // The moons' sine parameters, kept in the browser with the group's work.
    state(): Uint8Array {
        return this.analysis.state();
    }

    restore(bytes: Uint8Array): void {
        if (this.analysis.restore(bytes)) this.paint();
    }

    // --- The menu -------------------------------------------------------------

    private menuLayout() {
        const moon = (id: string, caption: string, m: number) => ({ id, caption, action: () => void this.selectMoon(m) });
        return [
            {
                id: 'AnData1',
                caption: '&Data',
                items: [
                    {
                        id: 'AnSelectMoon1',
                        caption: '&Select Moon',
                        items: [
                            moon(moonItems[0], '&Io (I)', 1),
                            moon(moonItems[1], '&Europa (II)', 2),
                            moon(moonItems[2], '&Ganymede (III)', 3),
                            moon(moonItems[3], '&Callisto (IV)', 4),
                        ],
                    },
                    {
                        id: 'AnPlot1',
                        caption: '&Plot',
                        items: [
                            { id: 'AnSetDataSpan1', caption: 'Set &Data Span...', action: () => void this.setDataSpan() },
                            {
                                id: 'AnPlotType1',
                                caption: 'Plot &Type',
                                items: [
                                    { id: 'AnShowPoints1', caption: '&Show Points', action: () => this.setPlotType(false) },
                                    { id: 'AnConnectPoints1', caption: '&Connect Points', action: () => this.setPlotType(true) },
                                ],
                            },
                            {
                                id: 'AnFitSineCurve1',
                                caption: 'Fit &Sine Curve',
                                items: [
                                    {
                                        id: 'AnSetInitialParameters1',
                                        caption: 'Set &Initial Parameters...',
                                        action: () => this.openParameters(),
                                    },
                                    { id: 'AnShowSineCurve1', caption: '&Show Sine Curve', action: () => this.showSineCurve() },
                                    { id: 'AnBestFit1', caption: '&Best Fit', action: () => this.toggleBestFit() },
                                ],
                            },
                        ],
                    },
                    separator,
                    {
                        id: 'AnPrint1',
                        caption: 'P&rint',
                        items: [
                            { id: 'AnCurrentDisplay1', caption: 'Current &Display', action: () => this.printCurrentDisplay() },
                            {
                                id: 'AnSineParametersSummary1',
                                caption: 'Sine Parameters &Summary',
                                action: () => this.printSummary(),
                            },
                        ],
                    },
                    { id: 'AnKeplersThirdLaw1', caption: "&Kepler's Third Law...", action: () => this.showKepler() },
                    separator,
                    { id: 'AnExit1', caption: 'E&xit', action: () => this.close() },
                ],
            },
            { id: 'AnHelp1', caption: '&Help', action: () => void openHelpList('JupAnalHlp.lst') },
        ];
    }

    // The items with a check: the moons and the plot types are radio items,
    // the curve's items check boxes.
    private markCheckable(): void {
        const mark = (id: string, role: 'menuitemradio' | 'menuitemcheckbox') => {
            const el = this.menuItem(id);
            el?.setAttribute('role', role);
            el?.setAttribute('aria-checked', 'false');
        };
        for (const id of moonItems) mark(id, 'menuitemradio');
        mark('AnShowPoints1', 'menuitemradio');
        mark('AnConnectPoints1', 'menuitemradio');
        mark('AnSetInitialParameters1', 'menuitemcheckbox');
        mark('AnShowSineCurve1', 'menuitemcheckbox');
        mark('AnBestFit1', 'menuitemcheckbox');
    }

    private menuItem(id: string): HTMLElement | null {
        return this.menuHost.querySelector<HTMLElement>(`#menu-${id}`);
    }

    private firstMenuItem(): HTMLElement | null {
        return this.menuHost.querySelector<HTMLElement>('[role="menubar"] > li > [tabindex="0"]');
    }

    private syncMenus(): void {
        const s = this.analysis.menuState();
        const item = (id: string, st: { enabled: boolean; checked: boolean; visible: boolean }) => {
            this.menu.setEnabled(id, st.enabled);
            this.menu.setVisible(id, st.visible);
            const el = this.menuItem(id);
            if (el?.hasAttribute('aria-checked')) el.setAttribute('aria-checked', String(st.checked));
        };
        s.moons.forEach((st, i) => item(moonItems[i], st));
        item('AnPlot1', s.plot);
        item('AnShowPoints1', s.showPoints);
        item('AnConnectPoints1', s.connectPoints);
        item('AnSetInitialParameters1', s.setInitialParameters);
        item('AnShowSineCurve1', s.showSineCurve);
        item('AnBestFit1', s.bestFit);
        this.bestFitShown = s.bestFit.visible && s.bestFit.checked;
        item('AnSineParametersSummary1', s.sineParametersSummary);
        item('AnKeplersThirdLaw1', s.keplersThirdLaw);
        this.sensitivity.disabled = !s.sensitivity.enabled;
        this.sensitivity.setAttribute('aria-checked', String(s.sensitivity.fine));
    }

    private async selectMoon(moon: number): Promise<void> {
        const said = this.analysis.selectMoon(moon);
        // An open parameters form goes on with the moon selected now.
        if (this.sineForm.isOpen) this.sineForm.fill(this.analysis.parameterTexts());
        this.paint();
        if (said) await showMessage(said);
    }

    private setPlotType(connect: boolean): void {
        this.analysis.setPlotType(connect);
        this.paint();
    }

    private showSineCurve(): void {
        this.analysis.showSineCurve();
        this.paint();
    }

    private toggleBestFit(): void {
        this.analysis.setBestFit(!this.analysis.menuState().bestFit.checked);
        this.paint();
    }

    private async setDataSpan(): Promise<void> {
        if (this.analysis.menuState().currentMoon === 0) return;
        if (await this.spanForm.run(this.analysis.spanFormTexts())) this.paint();
    }

    // --- "Sine Curve Parameters" ------------------------------------------------

    private openParameters(): void {
        if (this.analysis.menuState().currentMoon === 0) return;
        const texts = this.analysis.openParameters();
        this.paint();
        this.sineForm.open(texts, (el) => placeBeside(this.win.el, el));
    }

    private acceptParameters(tZero: string, period: string, amplitude: string): CoreMessage | null {
        const m = this.analysis.acceptParameters(tZero, period, amplitude);
        // Values taken before a text that could not be read stay taken.
        this.host.fitChanged(0);
        if (m) return m;
        this.sineForm.close(this.plot.canvas);
        this.paint();
        return null;
    }

    private closeParameters(): void {
        if (!this.sineForm.isOpen) return;
        this.analysis.closeParameters();
        this.sineForm.close(this.plot.canvas);
        this.paint();
    }

    // --- The sliders ----------------------------------------------------------

    private sliderMoved(which: AnalysisSlider, input: HTMLInputElement): void {
        const t0 = performance.now();
        this.analysis.setSlider(which, Number(input.value));
        this.paintPlot();
        // The engine's own time and the drawing's, for whoever profiles the page.
        if (++this.stepsMeasured % 5000 === 0) performance.clearMeasures(sliderStepMeasure);
        performance.measure(sliderStepMeasure, { start: t0, end: performance.now() });
        this.host.fitChanged(fitSaveDelayMs);
    }

    // Page Up and Page Down move a slider by its large change; the arrows,
    // Home and End are the browser's own.
    private sliderKey(e: KeyboardEvent, input: HTMLInputElement): void {
        if (e.altKey || e.ctrlKey || e.metaKey) return;
        if (e.key !== 'PageUp' && e.key !== 'PageDown') return;
        e.preventDefault();
        const step = this.core.SLIDER_LARGE_CHANGE * (e.key === 'PageUp' ? 1 : -1);
        const v = Math.min(Math.max(Number(input.value) + step, this.core.SLIDER_MIN), this.core.SLIDER_MAX);
        if (v === Number(input.value)) return;
        input.value = String(v);
        input.dispatchEvent(new Event('input', { bubbles: true }));
    }

    private resetSlider(which: AnalysisSlider): void {
        this.analysis.resetSlider(which);
        this.syncSliders();
        this.host.fitChanged(0);
    }

    private flipSensitivity(): void {
        const fine = this.sensitivity.getAttribute('aria-checked') !== 'true';
        this.analysis.setFine(fine);
        this.paint();
    }

    private syncSliders(): void {
        const at = this.analysis.sliderPositions();
        this.sliders.forEach((s, i) => {
            const v = String(at[i] ?? 0);
            if (s.input.value !== v) s.input.value = v;
        });
    }

    // --- The plot: mouse, touch and keys ----------------------------------------

    private press(p: PlotPixel): void {
        if (this.analysis.menuState().currentMoon === 0) return;
        this.analysis.mouseDown(p.x, p.y);
        this.paintPlot();
        this.describeCross();
    }

    // Every move goes to the engine: the cross follows a drag, and the first
    // move after a double click on a point hides it. Drawn when it moved.
    private move(p: PlotPixel): void {
        const before = this.analysis.cursor();
        this.analysis.mouseMove(p.x, p.y);
        const after = this.analysis.cursor();
        if (after.x !== before.x || after.y !== before.y) this.paintPlot();
    }

    private release(p: PlotPixel): void {
        if (!this.analysis.cursor().dragging) return;
        this.analysis.mouseUp(p.x, p.y);
        this.paintPlot();
        this.describeCross();
    }

    private async doubleClick(): Promise<void> {
        const index = this.analysis.doubleClick();
        if (index < 0) {
            // No point there: the press ends where it began.
            const c = this.analysis.cursor();
            this.analysis.mouseUp(c.x, c.y);
            return;
        }
        await this.askToggle(index);
    }

    private plotKey(e: KeyboardEvent): boolean {
        if (e.altKey || e.metaKey || this.analysis.menuState().currentMoon === 0) return false;
        const arrows: Record<string, [number, number]> = {
            ArrowLeft: [-1, 0],
            ArrowRight: [1, 0],
            ArrowUp: [0, -1],
            ArrowDown: [0, 1],
        };
        const dir = arrows[e.key];
        if (dir && e.shiftKey) {
            this.moveCrossBy(dir[0] * (e.ctrlKey ? 10 : 1), dir[1] * (e.ctrlKey ? 10 : 1));
            return true;
        }
        if (e.ctrlKey || e.shiftKey) return false;
        const r = this.analysis.plotKey(e.key);
        if (!r.handled) return false;
        if (r.askToggle >= 0) {
            void this.askToggle(r.askToggle);
            return true;
        }
        if (e.key === 'Enter' || e.key === ' ') {
            // No point selected: the point under the cross, as a double click finds it.
            const c = this.analysis.cursor();
            const at = this.analysis.pointAt(c.x, c.y);
            if (at >= 0) void this.askToggle(at);
            return true;
        }
        this.paint();
        this.plotSaid.textContent = this.analysis.selectedDescription();
        return true;
    }

    // The keyboard's cross: from where it is (or the selected point, or the
    // middle of the frame), kept inside the frame.
    private moveCrossBy(dx: number, dy: number): void {
        let { x, y } = this.analysis.cursor();
        const shown = x > crossBox.left - 1 && x < crossBox.right + 1 && y > crossBox.top - 1 && y < crossBox.bottom + 1;
        if (!shown) ({ x, y } = frameCentre);
        else {
            x = Math.min(Math.max(x + dx, crossBox.left), crossBox.right);
            y = Math.min(Math.max(y + dy, crossBox.top), crossBox.bottom);
        }
        this.analysis.mouseDown(x, y);
        this.analysis.mouseUp(x, y);
        this.paint();
        this.describeCross();
    }

    private describeCross(): void {
        const r = this.analysis.readouts();
        this.plotSaid.textContent = r.x.powered
            ? `Cross at X (Mod. JD) ${r.x.text.trim()}, Y (Jp. Diam) ${r.y.text.trim()}`
            : 'The cross is outside the frame.';
    }

    // The question about a point, and Yes removes or restores it.
    private async askToggle(index: number): Promise<void> {
        if (this.asking) return;
        const q = this.analysis.pointQuestion(index);
        if (!q) return;
        this.asking = true;
        try {
            const answer = await showMessage(q);
            if (answer === 'yes' && this.analysis.togglePoint(index)) this.host.tableChanged();
        } finally {
            this.asking = false;
        }
        this.paint();
        if (this.analysis.selectedPoint() >= 0) this.plotSaid.textContent = this.analysis.selectedDescription();
    }

    // --- Drawing ---------------------------------------------------------------

    // The plot and its read-outs; what a slider step or a drag changes.
    private paintPlot(): void {
        const picture = this.analysis.picture();
        this.plot.draw(picture);
        this.showReadouts(picture.readouts);
        this.showBestFitLine();
    }

    private showBestFitLine(): void {
        const best = this.bestFitShown ? this.analysis.bestFitText() : '';
        if (this.bestFitLine.textContent !== best) this.bestFitLine.textContent = best;
    }

    // Everything: the plot, the read-outs, the menus, the sliders, the table.
    private paint(): void {
        this.paintPlot();
        // The menus after the drawing, which enables the switch with the curve.
        this.syncMenus();
        this.showBestFitLine();
        this.syncSliders();
        this.showTable();
    }

    private readoutView(caption: string, className: string): ReadoutView {
        const el = h('div', { class: `anal-seg ${className}`, role: 'img', 'aria-label': caption });
        return { caption, el };
    }

    private showReadout(v: ReadoutView, r: AnalysisReadout, colour: string): void {
        const text = r.powered ? r.text : '';
        if (v.el.textContent !== text) {
            v.el.textContent = text;
            v.el.setAttribute('aria-label', text.trim() ? `${v.caption}: ${text.trim()}` : v.caption);
        }
        if (v.el.style.color !== colour) v.el.style.color = colour;
    }

    private showReadouts(r: AnalysisReadouts): void {
        const fit = [r.tZero, r.period, r.amplitude];
        this.sliders.forEach((s, i) => {
            this.showReadout(s.readout, fit[i], r.segmentColour);
            const said = fit[i].powered ? fit[i].text.trim() : '';
            if (said) s.input.setAttribute('aria-valuetext', said);
            else s.input.removeAttribute('aria-valuetext');
        });
        this.showReadout(this.xReadout, r.x, r.segmentColour);
        this.showReadout(this.yReadout, r.y, r.segmentColour);
        if (this.rms.value !== r.rmsText) this.rms.value = r.rmsText;
        this.rms.style.color = r.rmsColour;
        this.rms.classList.toggle('worse', r.rmsWorse);
        this.sayResidual(r);
    }

    // The residual is said when the sliders rest, with whether it grew.
    private sayResidual(r: AnalysisReadouts): void {
        if (this.rmsTimer !== null) clearTimeout(this.rmsTimer);
        const text = r.rmsText.trim();
        const said = text ? `RMS Residual ${text}${r.rmsWorse ? ', larger than before' : ''}` : '';
        this.rmsTimer = setTimeout(() => {
            this.rmsTimer = null;
            if (this.rmsSaid.textContent !== said) this.rmsSaid.textContent = said;
        }, rmsSayDelayMs);
    }

    private showTable(): void {
        const moon = this.analysis.menuState().currentMoon;
        const points: PlottedPoint[] = moon ? this.analysis.plottedPoints() : [];
        const selected = this.analysis.selectedPoint();
        const key = `${moon}|${selected}|${points.map((p) => `${p.index}:${p.included ? 1 : 0}:${p.offset}:${p.julianDate}`).join(',')}`;
        if (key === this.tableKey) return;
        this.tableKey = key;
        const names = ['Io (I)', 'Europa (II)', 'Ganymede (III)', 'Callisto (IV)'];
        this.tableCaption.textContent = moon ? `Plotted measurements of ${names[moon - 1]}` : 'Plotted measurements (no moon selected)';
        this.tableBody.replaceChildren(
            ...points.map((p) =>
                h(
                    'tr',
                    { class: p.included ? undefined : 'removed', 'aria-current': p.index === selected ? 'true' : undefined },
                    h('td', { text: p.julianDate.toFixed(5) }),
                    h('td', { text: `${Math.abs(p.offset).toFixed(2)} ${p.offset >= 0 ? 'W' : 'E'}` }),
                    h('td', { text: p.included ? 'Yes' : 'No (removed)' }),
                ),
            ),
        );
        // The selected point's row in sight within the table's box.
        const row = this.tableBody.querySelector<HTMLElement>('tr[aria-current="true"]');
        if (row) {
            const box = this.tableBox;
            const head = this.tableBody.previousElementSibling?.getBoundingClientRect().height ?? 0;
            const top = row.offsetTop - head;
            if (top < box.scrollTop) box.scrollTop = top;
            else if (row.offsetTop + row.offsetHeight > box.scrollTop + box.clientHeight)
                box.scrollTop = row.offsetTop + row.offsetHeight - box.clientHeight;
        }
    }

    // --- Printing, Kepler -------------------------------------------------------

    private print(content: Node[]): void {
        printout(this.core, this.host.login(), content);
    }

    // Print > Current Display: the plot as it is now, black on white, with
    // the read-outs below it.
    private printCurrentDisplay(): void {
        const picture = this.analysis.printPicture(false);
        const r = picture.readouts;
        const url = plotPictureUrl(picture);
        // The screen's colours come back at once.
        this.paint();
        // The read-outs that show something, each after its caption.
        const rows: [string, string][] = [
            ['T-Zero (Julian Day)', r.tZero.powered ? r.tZero.text.trim() : ''],
            ['Period (Days)', r.period.powered ? r.period.text.trim() : ''],
            ['Amplitude (Jupiter Diameters)', r.amplitude.powered ? r.amplitude.text.trim() : ''],
            ['RMS Residual', r.rmsText.trim()],
            ['Cursor Position', r.x.powered ? `X (Mod. JD) ${r.x.text.trim()}, Y (Jp. Diam) ${r.y.text.trim()}` : ''],
        ];
        const lines = ['', ...rows.filter(([, v]) => v !== '').map(([c, v]) => `${c.padEnd(31)}${v}`)];
        this.print([
            h('img', { class: 'printout-plot', src: url, alt: 'The orbit plot', width: picture.width, height: picture.height }),
            h('div', { class: 'printout-summary', text: lines.join('\n') }),
        ]);
    }

    // Print > Sine Parameters Summary: the fitted parameters of the four moons.
    private printSummary(): void {
        const out: string[] = [];
        for (const l of this.analysis.summaryLines()) {
            for (let k = 1; k < l.linesDown; k++) out.push('');
            out.push(l.text.replace(/\s+$/, ''));
        }
        this.print([h('div', { class: 'printout-summary', text: out.join('\n') })]);
    }

    private showKepler(): void {
        this.kepler.show(this.analysis.keplerReportLines(), (el) => placeBeside(this.win.el, el));
    }
}

// The width the parameters form takes beside the window.
const formRoom = 340;

// The analysis window opens in the middle of the browser's window, a little
// to the left where that leaves the parameters form room at its right.
function placeCentred(el: HTMLElement): void {
    const vw = document.documentElement.clientWidth;
    const vh = document.documentElement.clientHeight;
    const w = el.offsetWidth;
    const x = vw >= w + formRoom ? (vw - w - formRoom) / 2 : Math.max(0, (vw - w) / 2);
    const y = Math.max(0, (vh - el.offsetHeight) / 2);
    el.style.left = `${Math.round(x + window.scrollX)}px`;
    el.style.top = `${Math.round(y + window.scrollY)}px`;
}

// A form of the analysis window opens beside it where it fits (right, left,
// below, above), else over the window's lower right corner, away from the
// plot and the sliders.
function placeBeside(owner: HTMLElement, el: HTMLElement): void {
    const gap = 8;
    const o = owner.getBoundingClientRect();
    const w = el.offsetWidth;
    const ht = el.offsetHeight;
    const vw = document.documentElement.clientWidth;
    const vh = document.documentElement.clientHeight;
    const fits = (x: number, y: number) => x >= 0 && y >= 0 && x + w <= vw && y + ht <= vh;
    const candidates = [
        { x: o.right + gap, y: o.top },
        { x: o.left - gap - w, y: o.top },
        { x: o.left, y: o.bottom + gap },
        { x: o.left, y: o.top - gap - ht },
    ];
    let at = candidates.find((c) => fits(c.x, c.y));
    at ??= { x: o.right - w - gap, y: o.bottom - ht - gap };
    const x = Math.max(0, Math.min(at.x, vw - w));
    const y = Math.max(0, Math.min(at.y, vh - ht));
    el.style.left = `${Math.round(x + window.scrollX)}px`;
    el.style.top = `${Math.round(y + window.scrollY)}px`;
}
