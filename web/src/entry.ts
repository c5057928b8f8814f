// SPDX-License-Identifier: GPL-3.0-or-later
// "Record/Edit Measurements": the four boxes of one instant's offsets. While
// the students record it stays open beside the desk (not modal); the review
// list opens it modally to correct a stored record. What the boxes mean is
// the engine's business: this form shows texts and hands them back.

import type { EntryDateLabels } from './core';
import { PageWindow, buttonRow, pushButton } from './dialogs';
import { h, uid } from './dom';

const moonLabels = ['Io (1):', 'Europa (2):', 'Ganymede (3):', 'Callisto (4):'];
const boxNames = ['IOEd', 'EuropaEd', 'GanymedeEd', 'CallistoEd'];

export class EntryForm {
    readonly win: PageWindow;
    readonly boxes: HTMLInputElement[];
    private readonly jdLbl: HTMLParagraphElement;
    private readonly dtLbl: HTMLParagraphElement;
    // OK (also Enter in a box) and Cancel (also Escape).
    onOK: (() => void) | null = null;
    onCancel: (() => void) | null = null;
    // A box's text changed (typed, pasted, cut).
    onInput: (() => void) | null = null;

    constructor() {
        this.win = new PageWindow({ caption: 'Record/Edit Measurements', id: 'TResultsForm1', className: 'entry-form' });
        this.jdLbl = h('p', { class: 'entry-label' });
        this.dtLbl = h('p', { class: 'entry-label' });
        const instruction = h('p', { class: 'entry-label', text: '(Enter Jupiter Diameters "E"ast or "W"est)' });
        const grid = h('div', { class: 'entry-grid' });
        this.boxes = moonLabels.map((caption, i) => {
            const id = uid(boxNames[i]);
            const box = h('input', {
                type: 'text',
                id,
                name: boxNames[i],
                autocomplete: 'off',
                spellcheck: 'false',
                autocapitalize: 'characters',
                class: 'entry-box',
            });
            grid.append(h('label', { for: id, text: caption }), box);
            return box;
        });
        const ok = pushButton('OK', { type: 'submit' });
        const cancel = pushButton('Cancel');
        const form = h('form', { class: 'entry' }, this.jdLbl, this.dtLbl, instruction, grid, buttonRow(ok, cancel));
        form.addEventListener('submit', (e) => {
            e.preventDefault();
            this.onOK?.();
        });
        cancel.addEventListener('click', () => this.onCancel?.());
        form.addEventListener('input', () => this.onInput?.());
        this.win.onEscape = () => this.onCancel?.();
        this.win.body.append(form);
    }

    get isOpen(): boolean {
        return this.win.isOpen;
    }

    // The date labels and the boxes (the texts the engine made for a record).
    fill(labels: EntryDateLabels, texts: string[]): void {
        this.jdLbl.textContent = labels.julianDay;
        this.dtLbl.textContent = labels.dateTime;
        this.boxes.forEach((b, i) => (b.value = texts[i] ?? ''));
    }

    // Only the boxes, as after the pending record was reset.
    fillBoxes(texts: string[]): void {
        this.boxes.forEach((b, i) => (b.value = texts[i] ?? ''));
    }

    texts(): string[] {
        return this.boxes.map((b) => b.value);
    }

    // The box of moon 1..4 takes the focus with its text selected (after
    // "Invalid Data!").
    focusBox(moon: number): void {
        const b = this.boxes[moon - 1];
        if (!b) return;
        b.focus();
        b.select();
    }

    open(modal: boolean): void {
        this.win.open(modal, this.boxes[0], modal ? undefined : placeBesideDesk);
    }

    close(fallback?: HTMLElement | null): void {
        this.win.close(fallback);
    }
}

// A modeless window opens beside the desk: to its right, else to its left,
// else below it, whichever fits in the browser's window first; moved into
// the window where none fits, and never over the view while there is room.
export function placeBesideDesk(el: HTMLElement): void {
    const desk = document.getElementById('desk');
    if (!desk) return;
    const gap = 8;
    el.querySelector<HTMLElement>('.line-list')?.style.removeProperty('height');
    const d = desk.getBoundingClientRect();
    const w = el.offsetWidth;
    const ht = el.offsetHeight;
    const vw = document.documentElement.clientWidth;
    const vh = document.documentElement.clientHeight;
    const candidates = [
        { x: d.right + gap, y: d.top },
        { x: d.left - gap - w, y: d.top },
        { x: d.left, y: d.bottom + gap },
    ];
    // The first that fits; else the one that keeps most of itself in sight.
    const visible = (c: { x: number; y: number }) =>
        Math.max(0, Math.min(c.x + w, vw) - Math.max(c.x, 0)) * Math.max(0, Math.min(c.y + ht, vh) - Math.max(c.y, 0));
    const fits = (c: { x: number; y: number }) => visible(c) === w * ht;
    let best = candidates.find(fits);
    if (!best) {
        // A window with a list fits below the desk with a shorter list, so
        // that it leaves the desk's buttons in sight.
        const list = el.querySelector<HTMLElement>('.line-list');
        const room = vh - (d.bottom + gap) - gap;
        const cut = ht - room;
        if (list && cut > 0 && list.offsetHeight - cut >= 140 && d.left + w <= vw) {
            list.style.height = `${list.offsetHeight - cut}px`;
            best = { x: d.left, y: d.bottom + gap };
        }
    }
    best ??= candidates.reduce((a, b) => (visible(b) > visible(a) ? b : a));
    const x = Math.max(0, Math.min(best.x, vw - w));
    const y = Math.max(0, Math.min(best.y, vh - el.offsetHeight - (best.y > d.top ? gap : 0)));
    el.style.left = `${Math.round(x + window.scrollX)}px`;
    el.style.top = `${Math.round(y + window.scrollY)}px`;
}
