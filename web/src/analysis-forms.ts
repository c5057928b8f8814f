// SPDX-License-Identifier: GPL-3.0-or-later
// The analysis window's two forms: "Sine Curve Parameters", where the
// student types the curve's starting values (it stays open beside the plot
// and follows the selected moon), and "Set Data Span for Plot", which
// chooses the plotted days. The engine reads and checks what is typed.

import type { CoreMessage, SineParameterTexts, SpanFormTexts } from './core';
import { PageWindow, buttonRow, pushButton } from './dialogs';
import { h, uid } from './dom';

function labelledBox(caption: string, name: string, attrs: Record<string, string | number | boolean> = {}) {
    const id = uid(name);
    const box = h('input', { type: 'text', id, name, autocomplete: 'off', spellcheck: 'false', ...attrs });
    return { label: h('label', { for: id, text: caption }), box };
}

export interface SineFormActions {
    // OK: the engine's message when a text is wrong (the form stays open),
    // null when the values were taken.
    accept(tZero: string, period: string, amplitude: string): CoreMessage | null;
    cancel(): void;
    // Shows a message box and waits for it.
    say(m: CoreMessage): Promise<unknown>;
}

export class SineParamsForm {
    readonly win: PageWindow;
    readonly tZero: HTMLInputElement;
    readonly period: HTMLInputElement;
    readonly amplitude: HTMLInputElement;

    constructor(private readonly actions: SineFormActions) {
        this.win = new PageWindow({ caption: 'Sine Curve Parameters', id: 'TSineParmsDlg', className: 'sine-form' });
        const rows = [
            labelledBox('T-Zero (Mod. Jul. Date):', 'TZeroEd'),
            labelledBox('Period (Days):', 'PeriodEd'),
            labelledBox('Amplitude (Jup. Diams.):', 'AmplEd'),
        ];
        [this.tZero, this.period, this.amplitude] = rows.map((r) => r.box);
        const grid = h('div', { class: 'sine-grid' });
        for (const r of rows) grid.append(r.label, r.box);
        const note = h('p', {
            class: 'sine-note',
            text: 'See "Help"->"Fit Sine Curve" for information on estimating initial values from data plots.',
        });
        const ok = pushButton('OK', { type: 'submit' });
        const cancel = pushButton('Cancel');
        const form = h('form', { class: 'sine' }, grid, note, buttonRow(ok, cancel));
        form.addEventListener('submit', (e) => {
            e.preventDefault();
            void this.okClick();
        });
        cancel.addEventListener('click', () => this.actions.cancel());
        this.win.onEscape = () => this.actions.cancel();
        this.win.body.append(form);
    }

    get isOpen(): boolean {
        return this.win.isOpen;
    }

    fill(t: SineParameterTexts): void {
        this.tZero.value = t.tZero;
        this.period.value = t.period;
        this.amplitude.value = t.amplitude;
    }

    open(t: SineParameterTexts, place: (el: HTMLElement) => void): void {
        this.fill(t);
        this.win.open(false, this.tZero, place);
    }

    close(fallback?: HTMLElement | null): void {
        this.win.close(fallback);
    }

    private async okClick(): Promise<void> {
        const m = this.actions.accept(this.tZero.value, this.period.value, this.amplitude.value);
        if (!m) return;
        await this.actions.say(m);
        // Back to the text that could not be read, or to the first empty one.
        const boxes = [this.tZero, this.period, this.amplitude];
        const wrong = boxes.find((b) => b.value === '') ?? boxes.find((b) => m.text.includes(`"${b.value}"`));
        (wrong ?? this.tZero).focus();
        if (this.isOpen) (wrong ?? this.tZero).select();
    }
}

export class SpanForm {
    readonly win: PageWindow;
    private readonly dataStart: HTMLInputElement;
    private readonly dataEnd: HTMLInputElement;
    private readonly days: HTMLInputElement;
    private readonly start: HTMLInputElement;
    private readonly radios: HTMLInputElement[] = [];
    private readonly radioLabels: HTMLLabelElement[] = [];
    private finish: ((ok: boolean) => void) | null = null;
    accept: ((startText: string, spanItem: number) => CoreMessage | null) | null = null;
    say: ((m: CoreMessage) => Promise<unknown>) | null = null;

    constructor() {
        this.win = new PageWindow({ caption: 'Set Data Span for Plot', id: 'TPlotParmsDlg', className: 'span-form' });
        const available = h('fieldset', { class: 'span-available' }, h('legend', { text: 'Available Data' }));
        const grid = h('div', { class: 'span-grid' });
        const readOnly = (caption: string, name: string) => {
            const r = labelledBox(caption, name, { readonly: true });
            grid.append(r.label, r.box);
            return r.box;
        };
        this.dataStart = readOnly('Data Start (JD):', 'DataStrtEd');
        this.dataEnd = readOnly('Data End (JD):', 'DataEndEd');
        this.days = readOnly('# of Days:', 'DaysEd');
        available.append(grid);

        const lbl1 = h('span', { id: uid('PlotStrtLbl'), text: 'Enter last 3 digits of start date for plot:' });
        const lbl2 = h('span', { id: uid('PlotStrtLbl2'), text: '(Whole #, 0-999):' });
        this.start = h('input', {
            type: 'text',
            id: uid('PlotStrtEd'),
            name: 'PlotStrtEd',
            maxlength: 3,
            inputmode: 'numeric',
            autocomplete: 'off',
            class: 'span-start',
            'aria-labelledby': `${lbl1.id} ${lbl2.id}`,
        });
        const startBlock = h('div', { class: 'span-start-block' }, h('p', {}, lbl1), h('p', { class: 'span-start-row' }, lbl2, this.start));

        const group = h('fieldset', { class: 'span-days' }, h('legend', { text: '# of Days to Plot' }));
        const groupName = uid('PltDaysGrp');
        for (let i = 0; i < 5; i++) {
            const id = uid('PltDays');
            const radio = h('input', { type: 'radio', id, name: groupName, value: String(i) });
            const label = h('label', { for: id });
            this.radios.push(radio);
            this.radioLabels.push(label);
            group.append(h('div', { class: 'radio' }, radio, label));
        }

        const ok = pushButton('OK', { type: 'submit' });
        const cancel = pushButton('Cancel');
        const form = h(
            'form',
            { class: 'span' },
            h('div', { class: 'span-top' }, h('div', { class: 'span-left' }, available, startBlock), group),
            buttonRow(ok, cancel),
        );
        form.addEventListener('submit', (e) => {
            e.preventDefault();
            void this.okClick();
        });
        cancel.addEventListener('click', () => this.end(false));
        this.win.onEscape = () => this.end(false);
        this.win.body.append(form);
    }

    // Shows the form (modal) for the selected moon; true after an accepted OK.
    run(t: SpanFormTexts): Promise<boolean> {
        this.dataStart.value = t.dataStart;
        this.dataEnd.value = t.dataEnd;
        this.days.value = t.days;
        this.start.value = t.plotStart;
        t.spanItems.forEach((text, i) => {
            if (this.radioLabels[i]) this.radioLabels[i].textContent = text;
        });
        this.radios.forEach((r, i) => (r.checked = i === t.spanItem));
        this.win.open(true, this.start);
        this.start.select();
        return new Promise((resolve) => (this.finish = resolve));
    }

    private selectedItem(): number {
        const i = this.radios.findIndex((r) => r.checked);
        return i < 0 ? 0 : i;
    }

    private async okClick(): Promise<void> {
        const m = this.accept?.(this.start.value, this.selectedItem()) ?? null;
        if (m) {
            await this.say?.(m);
            this.start.focus();
            this.start.select();
            return;
        }
        this.end(true);
    }

    private end(ok: boolean): void {
        this.win.close();
        this.finish?.(ok);
        this.finish = null;
    }
}
