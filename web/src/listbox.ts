// SPDX-License-Identifier: GPL-3.0-or-later
// A fixed-pitch list of text lines with one selected line, as the WAI-ARIA
// listbox pattern has it: one tab stop, the selection follows Up, Down,
// Page Up, Page Down, Home and End; a click selects, a double click (or
// Enter) opens the line.

import { h, uid } from './dom';

export class LineList {
    readonly el: HTMLDivElement;
    private options: HTMLDivElement[] = [];
    private texts: string[] = [];
    private selected = -1;
    // A double click or Enter on a line.
    onOpen: ((line: number) => void) | null = null;
    // Delete on a line.
    onDelete: ((line: number) => void) | null = null;

    constructor(label: string, className = '') {
        this.el = h('div', {
            role: 'listbox',
            tabindex: 0,
            'aria-label': label,
            class: `line-list ${className}`.trim(),
        });
        this.el.addEventListener('keydown', (e) => this.onKey(e));
        this.el.addEventListener('click', (e) => {
            const i = this.lineAt(e.target);
            if (i >= 0) this.select(i);
        });
        this.el.addEventListener('dblclick', (e) => {
            const i = this.lineAt(e.target);
            if (i >= 0) {
                this.select(i);
                this.onOpen?.(i);
            }
        });
    }

    setLines(lines: string[]): void {
        this.texts = lines.slice();
        const id = this.el.id || uid('list');
        this.el.id = id;
        this.options = lines.map((text, i) =>
            h('div', {
                role: 'option',
                id: `${id}-${i}`,
                class: 'line',
                'aria-selected': 'false',
                // An empty line still takes a line's height and has a name.
                text: text === '' ? '\u00a0' : text,
                'aria-label': text.trim() === '' ? 'blank line' : undefined,
            }),
        );
        this.el.replaceChildren(...this.options);
        const keep = this.selected;
        this.selected = -1;
        this.select(Math.min(keep, this.options.length - 1), false);
    }

    get selectedLine(): number {
        return this.selected;
    }

    // The lines as shown.
    get lines(): string[] {
        return this.texts.slice();
    }

    get lineCount(): number {
        return this.options.length;
    }

    select(i: number, scroll = true): void {
        if (this.selected >= 0) this.options[this.selected]?.setAttribute('aria-selected', 'false');
        this.selected = i >= 0 && i < this.options.length ? i : -1;
        const o = this.options[this.selected];
        if (o) {
            o.setAttribute('aria-selected', 'true');
            this.el.setAttribute('aria-activedescendant', o.id);
            if (scroll) o.scrollIntoView({ block: 'nearest' });
        } else {
            this.el.removeAttribute('aria-activedescendant');
        }
    }

    private lineAt(target: EventTarget | null): number {
        const o = (target as HTMLElement | null)?.closest?.('[role="option"]');
        return o ? this.options.indexOf(o as HTMLDivElement) : -1;
    }

    private pageSize(): number {
        const first = this.options[0];
        const lineHeight = first ? first.getBoundingClientRect().height : 16;
        return Math.max(1, Math.floor(this.el.clientHeight / Math.max(lineHeight, 1)) - 1);
    }

    private onKey(e: KeyboardEvent): void {
        if (e.altKey || e.ctrlKey || e.metaKey) return;
        const n = this.options.length;
        if (n === 0) return;
        const at = this.selected;
        let to = at;
        switch (e.key) {
            case 'ArrowDown':
                to = at < 0 ? 0 : Math.min(at + 1, n - 1);
                break;
            case 'ArrowUp':
                to = at < 0 ? 0 : Math.max(at - 1, 0);
                break;
            case 'PageDown':
                to = Math.min(Math.max(at, 0) + this.pageSize(), n - 1);
                break;
            case 'PageUp':
                to = Math.max(at - this.pageSize(), 0);
                break;
            case 'Home':
                to = 0;
                break;
            case 'End':
                to = n - 1;
                break;
            case 'Enter':
                if (at >= 0 && this.onOpen) {
                    e.preventDefault();
                    this.onOpen(at);
                }
                return;
            case 'Delete':
                if (at >= 0 && this.onDelete) {
                    e.preventDefault();
                    this.onDelete(at);
                }
                return;
            default:
                return;
        }
        e.preventDefault();
        this.select(to);
    }
}
