// SPDX-License-Identifier: GPL-3.0-or-later
// "Timing Intervals": the step of "Next", the step of one animation tick and
// the animation timer's period. The engine writes the edits' texts and reads
// them back; OK takes them in order, so a value taken before one that is
// refused stays, as on the desktop.

import type { QuorvexCore } from './core';
import type { TimingValues } from './core-topview';
import { PageWindow, buttonRow, pushButton, showMessage } from './dialogs';
import { h, uid } from './dom';

const edits = [
    { caption: 'Observation Interval (Hrs)', name: 'IntervalEd' },
    { caption: 'Animation Step (Hrs)', name: 'StepEd' },
    { caption: 'Animation Timer (MSec)', name: 'TimrEd' },
];

export class TimingForm {
    private readonly win: PageWindow;
    private readonly boxes: HTMLInputElement[];
    private values: TimingValues | null = null;
    private defaults: TimingValues | null = null;
    private finish: ((values: TimingValues) => void) | null = null;
    private busy = false;

    constructor(private readonly core: QuorvexCore) {
        this.win = new PageWindow({ caption: core.TIMING_CAPTION, id: 'TTimingDlgForm1', className: 'timing-form' });
        const grid = h('div', { class: 'timing-grid' });
        this.boxes = edits.map((e) => {
            const id = uid(e.name);
            const box = h('input', {
                type: 'text',
                id,
                name: e.name,
                inputmode: 'decimal',
                autocomplete: 'off',
                spellcheck: 'false',
                class: 'timing-box',
            });
            grid.append(h('label', { for: id, text: e.caption }), box);
            return box;
        });
        const ok = pushButton('OK', { type: 'submit' });
        const cancel = pushButton('Cancel');
        const defaults = pushButton('Defaults');
        const form = h('form', { class: 'timing' }, grid, buttonRow(ok, cancel, defaults));
        form.addEventListener('submit', (e) => {
            e.preventDefault();
            void this.okClick();
        });
        cancel.addEventListener('click', () => this.end());
        defaults.addEventListener('click', () => this.fill(this.defaults));
        this.win.onEscape = () => this.end();
        this.win.body.append(form);
    }

    // Shows the values; resolves with the values as the dialog leaves them
    // (OK's, or after Cancel those that a refused OK had already taken).
    // "Defaults" offers `defaults` (the options' values) without storing them.
    run(values: TimingValues, defaults: TimingValues): Promise<TimingValues> {
        this.values = { ...values };
        this.defaults = { ...defaults };
        this.fill(values);
        this.win.open(true, this.boxes[0]);
        return new Promise((resolve) => (this.finish = resolve));
    }

    private fill(values: TimingValues | null): void {
        if (!values) return;
        const texts = this.core.timingEntryTexts(values);
        this.boxes.forEach((b, i) => (b.value = texts[i] ?? ''));
    }

    private async okClick(): Promise<void> {
        if (!this.values || this.busy) return;
        const r = this.core.takeTimingEntries(
            this.values,
            this.boxes.map((b) => b.value),
        );
        this.values = { dataIntervalHours: r.dataIntervalHours, animationStepHours: r.animationStepHours, animationTimerMs: r.animationTimerMs };
        if (r.message) {
            // The edit that was refused gets the focus to be corrected.
            this.busy = true;
            try {
                await showMessage(r.message);
            } finally {
                this.busy = false;
            }
            const box = this.boxes[r.failedField];
            box?.focus();
            box?.select();
            return;
        }
        this.end();
    }

    private end(): void {
        if (this.busy) return;
        const values = this.values;
        this.win.close();
        this.values = null;
        if (values) this.finish?.(values);
        this.finish = null;
    }
}
