// SPDX-License-Identifier: GPL-3.0-or-later
// "Kepler's Third Law": the report of Jupiter's mass from the moons' fitted
// curves, for instructors, as a fixed-pitch list that can be printed. It
// stays open beside the analysis window and shows the curves as they were
// when it was asked for.

import { PageWindow } from './dialogs';
import { h } from './dom';
import { LineList } from './listbox';
import { MenuBar, separator } from './menu';

export const keplerCaption = "Kepler's Third Law";

export class KeplerWindow {
    readonly win: PageWindow;
    readonly list: LineList;

    constructor(print: (lines: string[]) => void) {
        this.win = new PageWindow({ caption: keplerCaption, id: 'TKeplerForm1', className: 'kepler' });
        const menuHost = h('div', { class: 'dlg-menubar' });
        this.list = new LineList("Jupiter's mass by Kepler's third law", 'kepler-lines');
        new MenuBar(menuHost, keplerCaption, [
            {
                id: 'KeplerList1',
                caption: '&List',
                items: [
                    { id: 'KeplerPrint1', caption: '&Print...', action: () => print(this.list.lines) },
                    separator,
                    { id: 'KeplerClose1', caption: '&Close', action: () => this.close() },
                ],
            },
        ]);
        this.win.onEscape = () => this.close();
        this.win.body.append(menuHost, this.list.el);
    }

    get isOpen(): boolean {
        return this.win.isOpen;
    }

    show(lines: string[], place: (el: HTMLElement) => void): void {
        this.list.setLines(lines);
        if (this.list.selectedLine < 0) this.list.select(0, false);
        this.win.open(false, this.list.el, place);
    }

    close(fallback?: HTMLElement | null): void {
        this.win.close(fallback);
    }
}
